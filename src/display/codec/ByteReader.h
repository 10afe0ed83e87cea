// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>

// Reads a device through a buffer of its own, byte by byte or in blocks, for the
// decoders that walk run-length data. Reading past the end gives -1 or short counts,
// never an error of its own.
class ByteReader
{
public:
    explicit ByteReader(QIODevice &device);

    // The next byte, or -1 at the end of the data.
    int get()
    {
        if (m_pos == m_end && !refill())
            return -1;
        return m_buffer[m_pos++];
    }
    // The bytes buffered from the current position on (refilling when none are), for
    // decoders that walk them directly; count is 0 at the end of the data. Consume what
    // was used with advance().
    const uchar *buffered(qint64 *count)
    {
        if (m_pos == m_end)
            refill();
        *count = m_end - m_pos;
        return m_buffer + m_pos;
    }
    void advance(qint64 count) { m_pos += count; }
    // Copies up to count bytes into target; returns how many there were.
    qint64 read(uchar *target, qint64 count);
    // Skips count bytes; false when the data ends first.
    bool skip(qint64 count);
    // Continues reading at an absolute position of the device.
    bool seek(qint64 position);
    bool atEnd();

private:
    bool refill();

    QIODevice &m_device;
    uchar m_buffer[64 * 1024];
    qint64 m_pos = 0;
    qint64 m_end = 0;
};
