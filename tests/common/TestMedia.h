// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSize>
#include <QString>

// A photograph-like JPEG: smooth gradients with noise, so it decodes like a real one.
inline void writeJpeg(const QString &path, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28);
            line[x] = qRgb((x * 255 / size.width() + n) & 0xff,
                           (y * 255 / size.height() + n) & 0xff, ((x + y) / 32 + n) & 0xff);
        }
    }
    if (!image.save(path, "JPEG", 85))
        qFatal("cannot write %s", qPrintable(path));
}

// A 320 x 240 video of frames at 25 a second of GStreamer's test pattern (a moving ball,
// colour bars...), made by GStreamer's own tools; false when they cannot.
inline bool writeVideo(const QString &path, const QString &encoder, const QString &muxer,
                       int frames = 30, const QString &pattern = QStringLiteral("smpte"))
{
    const QString pipeline =
        QStringLiteral("videotestsrc num-buffers=%4 pattern=%5 ! video/x-raw,width=320,"
                       "height=240,framerate=25/1 ! videoconvert ! %1 ! %2 ! filesink location=%3")
            .arg(encoder, muxer, path)
            .arg(frames)
            .arg(pattern);
    QProcess gst;
    gst.start(QStringLiteral("gst-launch-1.0"),
              QProcess::splitCommand(QStringLiteral("-q ") + pipeline));
    return gst.waitForFinished(60000) && gst.exitCode() == 0 && QFileInfo(path).size() > 1000;
}
