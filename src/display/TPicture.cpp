// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TPicture.h"

#include <QPainter>

TPicture::TPicture(Kind kind, QImage image)
    : m_kind(image.isNull() ? Empty : kind)
    , m_image(std::move(image))
{}

TPicture TPicture::fromBitmap(QImage bitmap)
{
    return TPicture(Bitmap, std::move(bitmap));
}

TPicture TPicture::fromIcon(QImage icon)
{
    return TPicture(Icon, std::move(icon));
}

TPicture TPicture::fromMetafile(TMetafile metafile)
{
    TPicture picture;
    if (!metafile.isEmpty()) {
        picture.m_kind = Metafile;
        picture.m_metafile = std::make_shared<const TMetafile>(std::move(metafile));
    }
    return picture;
}

QImage TPicture::image() const
{
    if (!m_metafile)
        return m_image;
    QImage rendered(m_metafile->size(), QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    m_metafile->play(painter, rendered.rect());
    return rendered;
}

void TPicture::draw(QPainter &painter, const QRect &target) const
{
    if (m_kind == Empty)
        return;
    if (m_metafile) {
        m_metafile->play(painter, target);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != m_image.size());
    painter.drawImage(target, m_image);
    painter.restore();
}
