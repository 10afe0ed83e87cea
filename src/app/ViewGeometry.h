// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// The display modes (StretchMode).
enum TStretchMode { smNormal = 0, smProportional = 1, smFull = 2 };

// Scroll ranges of the display area: in normal mode a dimension scrolls over the picture
// when the box is not larger than it (0 otherwise); the fit modes span the box.
QSize ScrollRanges(int stretchMode, const QSize &client, const QSize &media);

// Scroll position that shows the middle: (range - client) / 2, rounded toward zero.
int CenterPosition(int range, int clientExtent);

// Zoom steps in percent for a display control this wide: a twentieth and a twenty-fifth
// of the width, but never more than doubling or halving in one step, so that a display
// 2500 pixels wide or more still zooms out to a positive size.
int ZoomInPercent(int displayWidth);
int ZoomOutPercent(int displayWidth);
constexpr int MaxZoomInPercent = 100;
constexpr int MaxZoomOutPercent = 50;

// value * numerator / denominator, rounded to the nearest integer (halves away from zero).
int MulDiv(int value, int numerator, int denominator);

// Zooming in stops once the display reaches this width or height.
constexpr int MaxZoomExtent = 8192;

// The display control's size after one step in or out; unchanged when the step does
// nothing (too large to enlarge, or already fitting the client area to shrink). A step in
// stops at MaxZoomExtent keeping the aspect ratio. A step out stops at the client area,
// and returns to it once it comes within one step in (inStep) of it, so that as many steps
// out as were taken in give back the fitted display although the two steps' percentages
// are not each other's inverse.
QSize ZoomedIn(const QSize &display, int step);
QSize ZoomedOut(const QSize &display, const QSize &client, int step, int inStep);

// A video's source rectangle as the player reports it: Right and Bottom carry the width
// and height when Left and Top are 0.
struct TVideoRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Where a video plays, as left, top, width and height: display is the display control's
// geometry in its parent, parentClient the parent's client rectangle; videoScale
// multiplies the size in normal mode. Halves round to the even neighbour.
QRect VideoDestination(int stretchMode, const TVideoRect &video, const QRect &display,
                       const QRect &parentClient, int videoScale);
