// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QMap>
#include <QRectF>

class QPainter;

// Draws a picture scaled into a rectangle straight from the decoded picture, so that only
// the part the painter's clip lets through is computed and nothing of the size of the
// scaled picture is ever kept, however far it is zoomed. A strong reduction is drawn from
// a copy reduced by a power of two (a quarter, an eighth, ... of each side), made once per
// picture when first needed, so that it is drawn from enough pixels not to alias; all such
// copies together hold less than a tenth of the picture's pixels.
class PictureLevels
{
public:
    // Forgets the reduced copies: the picture changed.
    void clear();
    // Draws picture stretched onto target (in the painter's logical coordinates) on a
    // device with this pixel ratio.
    void draw(QPainter &painter, const QRectF &target, const QImage &picture, qreal pixelRatio);
    // Bytes the reduced copies hold.
    qsizetype keptBytes() const;

    // The reduction (1, or a power of two of at least 4) a picture is drawn from when one
    // of its pixels becomes scale device pixels.
    static int reductionFor(qreal scale);

private:
    const QImage &level(const QImage &picture, int reduction);

    QMap<int, QImage> m_levels;
    qint64 m_pictureKey = 0;
};
