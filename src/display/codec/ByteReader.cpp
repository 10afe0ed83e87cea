// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/ByteReader.h"

#include <cstring>

ByteReader::ByteReader(QIODevice &device)
    : m_device(device)
{}

bool ByteReader::refill()
{
    const qint64 got = m_device.read(reinterpret_cast<char *>(m_buffer), sizeof m_buffer);
    m_pos = 0;
    m_end = got > 0 ? got : 0;
    return m_end > 0;
}

qint64 ByteReader::read(uchar *target, qint64 count)
{
    qint64 done = 0;
    const qint64 buffered = qMin(count, m_end - m_pos);
    if (buffered > 0) {
        std::memcpy(target, m_buffer + m_pos, size_t(buffered));
        m_pos += buffered;
        done = buffered;
    }
    // Large blocks go straight from the device into the target.
    if (count - done >= qint64(sizeof m_buffer)) {
        const qint64 got = m_device.read(reinterpret_cast<char *>(target + done), count - done);
        return done + qMax<qint64>(0, got);
    }
    while (done < count && (m_pos < m_end || refill())) {
        const qint64 chunk = qMin(count - done, m_end - m_pos);
        std::memcpy(target + done, m_buffer + m_pos, size_t(chunk));
        m_pos += chunk;
        done += chunk;
    }
    return done;
}

bool ByteReader::skip(qint64 count)
{
    const qint64 buffered = qMin(count, m_end - m_pos);
    m_pos += buffered;
    count -= buffered;
    if (count == 0)
        return true;
    if (!m_device.isSequential())
        return seek(m_device.pos() + count);
    while (count > 0) {
        if (!refill())
            return false;
        const qint64 chunk = qMin(count, m_end);
        m_pos = chunk;
        count -= chunk;
    }
    return true;
}

bool ByteReader::seek(qint64 position)
{
    m_pos = m_end = 0;
    return position >= 0 && position <= m_device.size() && m_device.seek(position);
}

bool ByteReader::atEnd()
{
    return m_pos == m_end && !refill();
}
