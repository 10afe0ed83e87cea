// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TDisplayConversion;

// Converts a picture's colours on a thread of its own while the decoder is still filling
// the rows below, so that colour management adds little to the time a picture takes.
// The rows are converted in order; told (if given) hears, from that thread, how many
// rows from the top are final.
class TRowsConverter
{
public:
    using Told = std::function<void(int rows)>;
    // The picture's pixels must outlive the converter.
    TRowsConverter(std::unique_ptr<TDisplayConversion> conversion, QImage &image, Told told);
    // Finishes the rows ready so far.
    ~TRowsConverter();
    TRowsConverter(const TRowsConverter &) = delete;
    TRowsConverter &operator=(const TRowsConverter &) = delete;

    // From the decoder: rows from the top that hold their decoded pixels.
    void rowsReady(int rows);
    // The last rows; returns once the first rows are all converted.
    void finish(int rows);

private:
    void run();
    void convert(int first, int end);

    std::unique_ptr<TDisplayConversion> m_conversion;
    uchar *m_bits;
    qsizetype m_stride;
    int m_width;
    int m_height;
    Told m_told;
    std::mutex m_lock;
    std::condition_variable m_wake;
    int m_ready = 0;     // under m_lock
    bool m_last = false; // under m_lock: no more rows will come
    int m_signalled = 0; // the decoder's own count of what it has passed on
    int m_done = 0;      // rows known converted once no thread runs
    std::thread m_thread;
};
