// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Puts a window in the middle of the screen it is on (the primary one before it shows).
void CenterOnScreen(QWidget *window);
