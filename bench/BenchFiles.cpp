// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <limits>
#include <vector>

QImage BenchPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    quint32 noise = 2463534242u;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int n = int(noise & 15) - 8;
            row[x] = qRgb(qBound(0, x * 255 / width + n, 255), qBound(0, y * 255 / height + n, 255),
                          qBound(0, ((x + y) & 255) / 2 + 64 + n, 255));
        }
    }
    return picture;
}

bool WritePcx24(const QImage &picture, const QString &path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int bytesPerLine = (width + 1) & ~1;
    QByteArray out(128, '\0');
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    auto put16 = [&](int at, int v) {
        out[at] = char(v & 0xFF);
        out[at + 1] = char(v >> 8);
    };
    put16(8, width - 1);
    put16(10, rgb.height() - 1);
    put16(12, 72);
    put16(14, 72);
    out[65] = 3;
    put16(66, bytesPerLine);
    put16(68, 1);
    std::vector<uchar> plane(size_t(bytesPerLine), 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int p = 0; p < 3; ++p) {
            for (int x = 0; x < width; ++x)
                plane[size_t(x)] = uchar(p == 0   ? qRed(row[x])
                                         : p == 1 ? qGreen(row[x])
                                                  : qBlue(row[x]));
            for (int x = 0; x < bytesPerLine;) {
                int run = 1;
                while (x + run < bytesPerLine && run < 63
                       && plane[size_t(x + run)] == plane[size_t(x)])
                    ++run;
                if (run > 1 || (plane[size_t(x)] & 0xC0) == 0xC0)
                    out.append(char(0xC0 | run));
                out.append(char(plane[size_t(x)]));
                x += run;
            }
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

double BestSeconds(int runs, const std::function<void()> &work)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = qMin(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

bool SpinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
