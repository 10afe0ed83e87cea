// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

// The arithmetic of drawing a picture into the display control.

// Nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

// Where a bw x bh bitmap goes in a cw x ch client area when stretched keeping its aspect
// ratio: the limiting side fills the area and the other is centred. A zero-sized bitmap
// fills the whole area.
QRect StretchRatioRect(int cw, int ch, int bw, int bh);

// Top-left corner of a pw x ph picture centred in a cw x ch area; the division truncates
// toward zero, so a larger picture is cut evenly on both sides.
QPoint CenterOrigin(int cw, int ch, int pw, int ph);
