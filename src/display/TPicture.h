// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <memory>

#include "display/Metafile.h"

class QPainter;

// The display control's picture container: empty, a bitmap decoded by the codec unit, an
// icon read by Qt's reader, or a metafile (the last two the control draws its simpler way).
class TPicture
{
public:
    enum Kind { Empty, Bitmap, Icon, Metafile };

    TPicture() = default;
    static TPicture fromBitmap(QImage bitmap);
    static TPicture fromIcon(QImage icon);
    static TPicture fromMetafile(TMetafile metafile);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Empty; }
    bool isBitmap() const { return m_kind == Bitmap; }
    // The bitmap or icon; a metafile drawn at its own size.
    QImage image() const;
    int width() const { return m_metafile ? m_metafile->size().width() : m_image.width(); }
    int height() const { return m_metafile ? m_metafile->size().height() : m_image.height(); }

    // Draws the graphic stretched into target.
    void draw(QPainter &painter, const QRect &target) const;

    bool operator==(const TPicture &other) const
    {
        return m_kind == other.m_kind && m_image == other.m_image && m_metafile == other.m_metafile;
    }

private:
    TPicture(Kind kind, QImage image);

    Kind m_kind = Empty;
    QImage m_image;
    std::shared_ptr<const TMetafile> m_metafile;
};
