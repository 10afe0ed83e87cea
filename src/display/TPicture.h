// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class QPainter;

// The display control's picture container: empty, a bitmap decoded by the codec unit, or
// an icon read by Qt's reader (which the control draws its simpler way).
class TPicture
{
public:
    enum Kind { Empty, Bitmap, Icon };

    TPicture() = default;
    static TPicture fromBitmap(QImage bitmap);
    static TPicture fromIcon(QImage icon);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Empty; }
    bool isBitmap() const { return m_kind == Bitmap; }
    const QImage &image() const { return m_image; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    // Draws the graphic stretched into target.
    void draw(QPainter &painter, const QRect &target) const;

    bool operator==(const TPicture &other) const
    {
        return m_kind == other.m_kind && m_image == other.m_image;
    }

private:
    TPicture(Kind kind, QImage image);

    Kind m_kind = Empty;
    QImage m_image;
};
