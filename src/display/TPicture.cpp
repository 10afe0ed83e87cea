// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TPicture.h"

#include <QPainter>

TPicture TPicture::fromBitmap(QImage bitmap)
{
    TPicture picture;
    if (!bitmap.isNull()) {
        picture.m_kind = Bitmap;
        picture.m_image = std::move(bitmap);
    }
    return picture;
}

TPicture TPicture::fromIcon(QImage icon)
{
    TPicture picture;
    if (!icon.isNull()) {
        picture.m_kind = Icon;
        picture.m_image = std::move(icon);
    }
    return picture;
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
