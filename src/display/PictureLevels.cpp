// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/PictureLevels.h"

#include <algorithm>

#include <QPainter>

namespace {

// Below this scale a sample of four neighbours misses most pixels and fine detail
// flickers into moiré; a copy reduced by a power of two is drawn from instead. A copy
// reduced by two would hold a quarter of the picture again, too much to keep beside it,
// so reductions start at four and scales between a quarter and a half draw from the
// picture itself.
constexpr qreal AliasingScale = 0.25;

} // namespace

void PictureLevels::clear()
{
    m_levels.clear();
    m_pictureKey = 0;
}

int PictureLevels::reductionFor(qreal scale)
{
    if (scale >= AliasingScale || scale <= 0)
        return 1;
    int reduction = 4;
    // The largest power of two that still leaves each reduced pixel at least half a
    // device pixel.
    while (scale * reduction * 2 < 1.0 && reduction < (1 << 20))
        reduction *= 2;
    return reduction;
}

const QImage &PictureLevels::level(const QImage &picture, int reduction)
{
    if (picture.cacheKey() != m_pictureKey) {
        m_levels.clear();
        m_pictureKey = picture.cacheKey();
    }
    const auto found = m_levels.constFind(reduction);
    if (found != m_levels.constEnd())
        return *found;
    // Each copy comes from the next larger one, which costs a quarter of the work; only
    // the first comes from the picture itself.
    const QImage &from = reduction > 4 ? level(picture, reduction / 2) : picture;
    const QSize size(std::max(1, picture.width() / reduction),
                     std::max(1, picture.height() / reduction));
    QImage reduced = from.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return *m_levels.insert(reduction, std::move(reduced));
}

void PictureLevels::draw(QPainter &painter, const QRectF &target, const QImage &picture,
                         qreal pixelRatio)
{
    if (picture.isNull() || target.isEmpty())
        return;
    const qreal scale = std::min(target.width() * pixelRatio / picture.width(),
                                 target.height() * pixelRatio / picture.height());
    const int reduction = reductionFor(scale);
    const QImage &source = reduction == 1 ? picture : level(picture, reduction);
    painter.save();
    // One picture pixel on one device pixel is copied as it is.
    const bool exact = qFuzzyCompare(target.width() * pixelRatio, qreal(source.width()))
                       && qFuzzyCompare(target.height() * pixelRatio, qreal(source.height()));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !exact);
    painter.drawImage(target, source, QRectF(source.rect()));
    painter.restore();
}

qsizetype PictureLevels::keptBytes() const
{
    qsizetype bytes = 0;
    for (const QImage &image : m_levels)
        bytes += image.sizeInBytes();
    return bytes;
}
