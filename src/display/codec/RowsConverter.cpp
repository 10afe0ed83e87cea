// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/RowsConverter.h"

#include "display/codec/ColorProfile.h"

namespace {

// Rows handed over at a time: few enough wake-ups, and a short tail once decoding ends.
constexpr int Batch = 32;
// Below this a thread of its own costs more than it saves.
constexpr qint64 ThreadedPixels = 1 << 20;

} // namespace

TRowsConverter::TRowsConverter(std::unique_ptr<TDisplayConversion> conversion, QImage &image,
                               Told told)
    : m_conversion(std::move(conversion))
    , m_bits(image.bits())
    , m_stride(image.bytesPerLine())
    , m_width(image.width())
    , m_height(image.height())
    , m_told(std::move(told))
{
    if (qint64(m_width) * m_height >= ThreadedPixels && std::thread::hardware_concurrency() > 1)
        m_thread = std::thread(&TRowsConverter::run, this);
}

TRowsConverter::~TRowsConverter()
{
    finish(m_signalled);
}

void TRowsConverter::rowsReady(int rows)
{
    if (!m_thread.joinable() || rows - m_signalled < Batch)
        return;
    m_signalled = rows;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_ready = rows;
    }
    m_wake.notify_one();
}

void TRowsConverter::finish(int rows)
{
    rows = qBound(0, rows, m_height);
    m_signalled = qMax(m_signalled, rows);
    if (!m_thread.joinable()) {
        // Without a thread, or a second call.
        if (rows > m_done)
            convert(m_done, rows);
        m_done = qMax(m_done, rows);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_ready = qMax(m_ready, rows);
        m_last = true;
    }
    m_wake.notify_one();
    m_thread.join();
    m_done = m_ready;
}

void TRowsConverter::run()
{
    int done = 0;
    for (;;) {
        int ready = 0;
        bool last = false;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_wake.wait(lock, [&] { return m_ready > done || m_last; });
            ready = m_ready;
            last = m_last;
        }
        if (ready > done) {
            convert(done, ready);
            done = ready;
        } else if (last) {
            return;
        }
    }
}

void TRowsConverter::convert(int first, int end)
{
    m_conversion->convertRows(m_bits, m_stride, m_width, first, end - first);
    if (m_told)
        m_told(end);
}
