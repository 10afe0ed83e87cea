// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Icons are read by Qt's own icon reader (bitmap and PNG entries alike). This reads the
// directory and each entry's own header first: every size is held to the decode limit
// before anything is decoded, and the entry shown is the largest of the highest colour
// depth, which is what the icon's maker meant to be seen.
#include <QImageReader>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <vector>

#include "display/codec/Decoders.h"

namespace {

struct Entry
{
    int index = 0;
    qint64 width = 0;
    qint64 height = 0;
    int depth = 0;
};

// Size and depth from the entry's own header (a PNG's or a bitmap's), which is what the
// reader decodes; the directory's bytes are only a fallback for the depth.
bool readEntry(QIODevice &in, const uchar *directory, Entry &entry)
{
    const quint32 offset = qFromLittleEndian<quint32>(directory + 12);
    entry.depth = qFromLittleEndian<quint16>(directory + 6);
    if (!in.seek(offset))
        return false;
    const QByteArray head = in.read(26);
    const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
    if (head.startsWith("\x89PNG") && head.size() >= 26) {
        entry.width = qFromBigEndian<quint32>(bytes + 16);
        entry.height = qFromBigEndian<quint32>(bytes + 20);
        static const int Channels[] = {1, 0, 3, 1, 2, 0, 4};
        const int type = bytes[25];
        entry.depth = bytes[24] * (type < 7 ? Channels[type] : 1);
        return true;
    }
    if (head.size() < 16)
        return false;
    entry.width = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 4)));
    // The height counts the picture and its mask.
    entry.height = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 8))) / 2;
    entry.depth = qFromLittleEndian<quint16>(bytes + 14);
    return true;
}

} // namespace

QImage DecodeIco(QIODevice &in, DecodeContext &ctx)
{
    if (!ctx.begin())
        return {};
    if (in.isSequential())
        return ctx.fail(QStringLiteral("The icon cannot be read from a stream."));
    const QByteArray header = in.read(6);
    if (header.size() < 6)
        return ctx.fail(QStringLiteral("The file holds no icon."));
    // A directory entry takes 16 bytes after the 6-byte header: a count the file cannot
    // hold is cut to what it can, so a hostile count costs no time.
    const int count = int(qMin<qint64>(
        qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(header.constData()) + 4),
        (in.size() - 6) / 16));
    if (count <= 0)
        return ctx.fail(QStringLiteral("The file holds no icon."));
    const QByteArray directory = in.read(qint64(count) * 16);
    std::vector<Entry> entries;
    for (int index = 0; index < count; ++index) {
        Entry entry;
        entry.index = index;
        if (!readEntry(in, reinterpret_cast<const uchar *>(directory.constData()) + index * 16,
                       entry))
            continue;
        if (!ctx.fits(entry.width, entry.height, 4))
            return {};
        entries.push_back(entry);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        const qint64 areaA = a.width * a.height;
        const qint64 areaB = b.width * b.height;
        return areaA != areaB ? areaA > areaB : a.depth > b.depth;
    });
    in.seek(0);
    QImageReader reader(&in, "ico");
    QString lastError = QStringLiteral("no entry");
    int tried = 0;
    for (const Entry &entry : entries) {
        if (!reader.jumpToImage(entry.index))
            continue;
        const QImage frame = reader.read();
        if (!frame.isNull()) {
            ctx.end();
            return frame.convertToFormat(frame.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
        }
        lastError = reader.errorString();
        if (!ctx.advance(++tried, qint64(entries.size())))
            return {};
    }
    return ctx.fail(QStringLiteral("The icon cannot be read (%1).").arg(lastError));
}
