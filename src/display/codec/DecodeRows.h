// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <atomic>
#include <memory>

// The rows of a picture that are final while a decoder on another thread is still at
// work, so the display can show them as they arrive. The decoder fills the pixels in
// place; what rowsSoFar() gives keeps them alive however the decode ends.
class TDecodeRows
{
public:
    // The rows from the top decoded so far, read-only; null before the first.
    QImage rowsSoFar() const;
    int rows() const { return m_rows.load(std::memory_order_acquire); }

    // For the decoder: the picture's pixels, once, before any row is told.
    void setPixels(std::shared_ptr<void> pixels, QSize size, qsizetype bytesPerLine,
                   QImage::Format format);
    bool hasPixels() const { return m_pixels != nullptr; }
    void setRows(int rows) { m_rows.store(rows, std::memory_order_release); }

private:
    std::shared_ptr<void> m_pixels;
    QSize m_size;
    qsizetype m_bytesPerLine = 0;
    QImage::Format m_format = QImage::Format_Invalid;
    std::atomic<int> m_rows{0};
};
