// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/PaintGeometry.h"

#include <cmath>

int RoundHalfEven(double value)
{
    // The default floating-point environment rounds to nearest, ties to even.
    return int(std::nearbyint(value));
}

QRect StretchRatioRect(int cw, int ch, int bw, int bh)
{
    if (bw <= 0 || bh <= 0)
        return QRect(0, 0, cw, ch);
    const double sx = double(cw) / bw;
    const double sy = double(ch) / bh;
    if (sx > sy) {
        const double spare = cw - sy * bw;
        return QRect(RoundHalfEven(spare * 0.5), 0, RoundHalfEven(cw - spare), ch);
    }
    const double spare = ch - sx * bh;
    return QRect(0, RoundHalfEven(spare * 0.5), cw, RoundHalfEven(ch - spare));
}

QPoint CenterOrigin(int cw, int ch, int pw, int ph)
{
    return QPoint((cw - pw) / 2, (ch - ph) / 2);
}
