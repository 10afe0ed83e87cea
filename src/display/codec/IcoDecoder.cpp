// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Icons are read by Qt's own icon reader (bitmap and PNG entries alike); this keeps the
// largest entry and holds the reader to the decode limit and the progress routine.
#include <QImageReader>
#include <QIODevice>

#include "display/codec/Decoders.h"

QImage DecodeIco(QIODevice &in, DecodeContext &ctx)
{
    if (!ctx.begin())
        return {};
    QImageReader reader(&in, "ico");
    // A directory entry takes 16 bytes after the 6-byte header: a count the file cannot
    // hold is cut to what it can, so a hostile count costs no time.
    int count = reader.imageCount();
    if (!in.isSequential())
        count = int(qMin<qint64>(count, (in.size() - 6) / 16));
    if (count <= 0)
        return ctx.fail(QStringLiteral("The file holds no icon."));
    QImage best;
    QString lastError;
    for (int index = 0; index < count; ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        const QSize size = reader.size();
        if (size.isValid() && !ctx.fits(size.width(), size.height(), 4))
            return {};
        const QImage frame = reader.read();
        if (frame.isNull())
            lastError = reader.errorString();
        else if (qint64(frame.width()) * frame.height() > qint64(best.width()) * best.height())
            best = frame;
        if (!ctx.advance(index + 1, count))
            return {};
    }
    if (best.isNull())
        return ctx.fail(QStringLiteral("The icon cannot be read (%1).").arg(lastError));
    ctx.end();
    return best.convertToFormat(best.hasAlphaChannel() ? QImage::Format_ARGB32
                                                       : QImage::Format_RGB32);
}
