// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Puts a window in the middle of the screen it is on (the primary one before it shows).
void CenterOnScreen(QWidget *window);

// The window state as the settings file keeps it: 0 normal, 1 minimised, 2 maximised (full
// screen counts as maximised).
int WindowStateCode(const QWidget *window);
// Puts the window into the state of that code; any other code is the normal state.
void SetWindowStateCode(QWidget *window, int code);
