// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// How a picture is placed on the printed page.
enum TPrintMode { pmOriginal = 0, pmProportional = 1, pmFillPage = 2, pmRescale = 3 };

// The picture's rectangle on the page, in printer pixels.
struct TPrintRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TPrintRect &) const = default;
};

// The rectangle for a picture of imageWidth x imageHeight on a printable page of
// pageWidth x pageHeight. Centring halves both sizes with truncating division, so an odd
// size loses a pixel; the fill-page mode is never centred.
TPrintRect ComputePrintRect(int mode, int pageWidth, int pageHeight, int imageWidth,
                            int imageHeight, int scaleFactor, bool center);

// The largest factor from factor down to 1 at which the enlarged picture fits the page
// (1 even when nothing fits).
int FitScaleFactor(int factor, int imageWidth, int imageHeight, int pageWidth, int pageHeight);

// Where the preview shows the picture: paper is the page's preview rectangle.
QRect PreviewImageRect(const QRect &paper, int pageWidth, int pageHeight, const TPrintRect &rect);
