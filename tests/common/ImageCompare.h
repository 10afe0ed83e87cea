// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>

// Pictures as an independent decoder sees them, and ways to compare them with ours.

// Qt's own reader, first frame, as ARGB32.
inline QImage QtDecode(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// ImageMagick's reading of the first frame, as ARGB32; null when it is not installed or
// cannot read the file.
inline QImage MagickDecode(const QString &path)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        return {};
    QProcess process;
    process.start(convert, {path + QStringLiteral("[0]"), QStringLiteral("-depth"),
                            QStringLiteral("8"), QStringLiteral("png32:-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QImage::fromData(process.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_ARGB32);
}

// Largest difference of any channel between two pictures of one size; colours under a
// fully transparent pixel do not count. -1 when the sizes differ.
inline int MaxDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (qAlpha(p[col]) == 0 && qAlpha(q[col]) == 0)
                continue;
            worst = qMax(worst, qAbs(qRed(p[col]) - qRed(q[col])));
            worst = qMax(worst, qAbs(qGreen(p[col]) - qGreen(q[col])));
            worst = qMax(worst, qAbs(qBlue(p[col]) - qBlue(q[col])));
            worst = qMax(worst, qAbs(qAlpha(p[col]) - qAlpha(q[col])));
        }
    }
    return worst;
}

// Mean absolute difference per channel, for lossy formats.
inline double MeanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += qAbs(qRed(p[col]) - qRed(q[col])) + qAbs(qGreen(p[col]) - qGreen(q[col]))
                   + qAbs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}
