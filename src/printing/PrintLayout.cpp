// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintLayout.h"

#include <algorithm>
#include <climits>

#include "display/PaintGeometry.h"

TPrintRect ComputePrintRect(int mode, int pageWidth, int pageHeight, int imageWidth,
                            int imageHeight, int scaleFactor, bool center)
{
    qint64 width = 0;
    qint64 height = 0;
    switch (mode) {
    case pmOriginal:
        width = imageWidth;
        height = imageHeight;
        break;
    case pmProportional:
        if (imageWidth > 0 && imageHeight > 0) {
            const double a = double(pageWidth) / imageWidth;
            const double b = double(pageHeight) / imageHeight;
            if (a > b) {
                width = RoundHalfEven(b * imageWidth);
                height = pageHeight;
            } else {
                width = pageWidth;
                height = RoundHalfEven(a * imageHeight);
            }
        } else {
            width = imageWidth;
            height = imageHeight;
        }
        break;
    case pmFillPage:
        width = pageWidth;
        height = pageHeight;
        break;
    case pmRescale:
        width = qint64(imageWidth) * scaleFactor;
        height = qint64(imageHeight) * scaleFactor;
        break;
    default:
        break;
    }
    const auto clampInt = [](qint64 value) {
        return int(std::clamp<qint64>(value, INT_MIN / 2, INT_MAX / 2));
    };
    const int w = clampInt(width);
    const int h = clampInt(height);
    if (center && mode != pmFillPage)
        return {pageWidth / 2 - w / 2, pageHeight / 2 - h / 2, pageWidth / 2 + w / 2,
                pageHeight / 2 + h / 2};
    return {0, 0, w, h};
}

int FitScaleFactor(int factor, int imageWidth, int imageHeight, int pageWidth, int pageHeight)
{
    while (
        factor > 1
        && (qint64(imageWidth) * factor > pageWidth || qint64(imageHeight) * factor > pageHeight))
        --factor;
    return std::max(factor, 1);
}

QRect PreviewImageRect(const QRect &paper, int pageWidth, int pageHeight, const TPrintRect &rect)
{
    const double sx = double(pageWidth) / paper.width();
    const double sy = double(pageHeight) / paper.height();
    const int left = RoundHalfEven(rect.Left / sx);
    const int top = RoundHalfEven(rect.Top / sy);
    const int right = RoundHalfEven(rect.Right / sx);
    const int bottom = RoundHalfEven(rect.Bottom / sy);
    return {paper.left() + left, paper.top() + top, right - left, bottom - top};
}
