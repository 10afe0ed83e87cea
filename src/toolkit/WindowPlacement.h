// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QRect;
class QWidget;

// Whether a window whose frame starts at bounds' top left, bounds' size, would show enough
// of its title bar on one of the screens for the user to grab it.
bool TitleOnAnyScreen(const QRect &bounds);

// Puts a window at remembered bounds: the top left is the frame's (where the user saw the
// window), the size its inside. Bounds from a screen that is gone, or that would hide the
// title bar, give the middle of the screen instead.
void PlaceWindow(QWidget *window, const QRect &bounds);

// Puts a window in the middle of the screen it is on (the primary one before it shows).
void CenterOnScreen(QWidget *window);

// The window state as the settings file keeps it: 0 normal, 1 minimised, 2 maximised (full
// screen counts as maximised).
int WindowStateCode(const QWidget *window);
// Puts the window into the state of that code; any other code is the normal state.
void SetWindowStateCode(QWidget *window, int code);
