// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/DecodeRows.h"

namespace {

void release(void *keep)
{
    delete static_cast<std::shared_ptr<void> *>(keep);
}

} // namespace

QImage TDecodeRows::rowsSoFar() const
{
    const int done = rows();
    if (done <= 0)
        return {};
    auto *keep = new std::shared_ptr<void>(m_pixels);
    return QImage(static_cast<const uchar *>(m_pixels.get()), m_size.width(),
                  qMin(done, m_size.height()), m_bytesPerLine, m_format, release, keep);
}

void TDecodeRows::setPixels(std::shared_ptr<void> pixels, QSize size, qsizetype bytesPerLine,
                            QImage::Format format)
{
    m_pixels = std::move(pixels);
    m_size = size;
    m_bytesPerLine = bytesPerLine;
    m_format = format;
}
