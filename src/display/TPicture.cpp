// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TPicture.h"

#include <QPainter>

TPicture::TPicture(Kind kind, QImage image)
    : m_kind(image.isNull() ? Empty : kind)
    , m_image(std::move(image))
{
}

TPicture TPicture::fromBitmap(QImage bitmap)
{
    return TPicture(Bitmap, std::move(bitmap));
}

TPicture TPicture::fromIcon(QImage icon)
{
    return TPicture(Icon, std::move(icon));
}

void TPicture::draw(QPainter &painter, const QRect &target) const
{
    if (m_kind == Empty)
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != m_image.size());
    painter.drawImage(target, m_image);
    painter.restore();
}
