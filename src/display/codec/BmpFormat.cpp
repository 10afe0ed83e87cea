// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/BmpFormat.h"

#include <array>

#include "display/codec/ByteReader.h"

namespace {

quint32 u16(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8;
}

quint32 u32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

bool failWith(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

} // namespace

QString BmpInfo::describe() const
{
    QString text = os2 ? QStringLiteral("OS/2 bitmap") : QStringLiteral("Windows bitmap");
    switch (compression) {
    case Rle8:
        return text + QStringLiteral(" RLE8");
    case Rle4:
        return text + QStringLiteral(" RLE4");
    case Rle24:
        return text + QStringLiteral(" RLE24");
    case BitFields:
    case AlphaBitFields:
        return text + QStringLiteral(" bit fields");
    case Jpeg:
        return text + QStringLiteral(" with JPEG");
    case Png:
        return text + QStringLiteral(" with PNG");
    default:
        return text;
    }
}

bool ReadBmpInfo(ByteReader &reader, bool withFileHeader, qint64 streamSize, BmpInfo &info,
                 QString *why)
{
    info = BmpInfo();
    info.hasFileHeader = withFileHeader;
    qint64 consumed = 0;
    quint32 offBits = 0;
    if (withFileHeader) {
        uchar file[14];
        if (reader.read(file, 14) < 14 || file[0] != 'B' || file[1] != 'M')
            return failWith(why, QStringLiteral("This is not a bitmap file."));
        offBits = u32(file + 10);
        consumed = 14;
    }

    std::array<uchar, 124> h{};
    if (reader.read(h.data(), 4) < 4)
        return failWith(why, QStringLiteral("The bitmap's header is missing."));
    const quint32 headerSize = u32(h.data());
    if (headerSize != 12 && (headerSize < 16 || headerSize > 65536))
        return failWith(
            why, QStringLiteral("The bitmap's header has an unknown size (%1).").arg(headerSize));
    const qint64 kept = qMin<qint64>(headerSize, qint64(h.size()));
    if (reader.read(h.data() + 4, kept - 4) < kept - 4
        || (headerSize > h.size() && !reader.skip(headerSize - h.size())))
        return failWith(why, QStringLiteral("The bitmap's header is cut short."));
    const qint64 infoStart = consumed;
    consumed += headerSize;
    info.headerSize = int(headerSize);
    constexpr quint32 Embedded = 0x4D424544; // "MBED"
    if (headerSize >= 124 && u32(h.data() + 56) == Embedded) {
        info.profileOffset = infoStart + qint64(u32(h.data() + 112));
        info.profileSize = u32(h.data() + 116);
    }

    qint64 height = 0;
    if (headerSize == 12) {
        info.os2 = true;
        info.width = int(u16(h.data() + 4));
        height = u16(h.data() + 6);
        info.bits = int(u16(h.data() + 10));
    } else {
        info.os2 = headerSize == 16 || headerSize == 64;
        info.width = qint32(u32(h.data() + 4));
        height = qint32(u32(h.data() + 8));
        info.bits = int(u16(h.data() + 14));
        if (headerSize >= 20)
            info.compression = int(u32(h.data() + 16));
        if (headerSize >= 32) {
            info.xPelsPerMeter = qMax(0, qint32(u32(h.data() + 24)));
            info.yPelsPerMeter = qMax(0, qint32(u32(h.data() + 28)));
        }
        if (headerSize >= 36)
            info.colorsUsed = u32(h.data() + 32);
    }
    if (height < 0) {
        info.topDown = true;
        height = -height;
    }
    if (info.width <= 0 || height <= 0 || height > 0x7FFFFFFF)
        return failWith(
            why,
            QStringLiteral("The bitmap's size is invalid (%1 x %2).").arg(info.width).arg(height));
    info.height = int(height);

    // OS/2 2.x reuses two codes: Huffman 1-D (not read here) and RLE24.
    if (info.os2 && info.compression == BmpInfo::BitFields && info.bits == 1)
        return failWith(why, QStringLiteral("OS/2 Huffman-compressed bitmaps are not supported."));
    if (info.os2 && info.compression == BmpInfo::Jpeg && info.bits == 24)
        info.compression = BmpInfo::Rle24;

    const int c = info.compression;
    const int b = info.bits;
    bool valid = false;
    switch (c) {
    case BmpInfo::Rgb:
        valid = b == 1 || b == 2 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32;
        break;
    case BmpInfo::Rle8:
        valid = b == 8;
        break;
    case BmpInfo::Rle4:
        valid = b == 4;
        break;
    case BmpInfo::Rle24:
        valid = b == 24;
        break;
    case BmpInfo::BitFields:
    case BmpInfo::AlphaBitFields:
        valid = b == 16 || b == 24 || b == 32;
        break;
    case BmpInfo::Jpeg:
    case BmpInfo::Png:
        valid = withFileHeader;
        break;
    default:
        break;
    }
    if (!valid)
        return failWith(why, QStringLiteral("Bitmaps of %1 bits with compression %2 are not "
                                            "supported.")
                                 .arg(b)
                                 .arg(c));
    const bool rle = c == BmpInfo::Rle8 || c == BmpInfo::Rle4 || c == BmpInfo::Rle24;
    if (rle && info.topDown)
        return failWith(why, QStringLiteral("A compressed bitmap cannot be stored top-down."));

    // Colour masks: in the header from 52 bytes on, else right after it.
    if (c == BmpInfo::BitFields || c == BmpInfo::AlphaBitFields) {
        const bool withAlpha = c == BmpInfo::AlphaBitFields;
        if (headerSize >= 52) {
            info.redMask = u32(h.data() + 40);
            info.greenMask = u32(h.data() + 44);
            info.blueMask = u32(h.data() + 48);
            if (headerSize >= 56)
                info.alphaMask = u32(h.data() + 52);
        } else {
            uchar masks[16];
            const int count = withAlpha ? 16 : 12;
            if (reader.read(masks, count) < count)
                return failWith(why, QStringLiteral("The bitmap's colour masks are missing."));
            consumed += count;
            info.redMask = u32(masks);
            info.greenMask = u32(masks + 4);
            info.blueMask = u32(masks + 8);
            info.alphaMask = withAlpha ? u32(masks + 12) : 0;
        }
    } else if (b == 16) {
        info.redMask = 0x7C00;
        info.greenMask = 0x03E0;
        info.blueMask = 0x001F;
    } else if (b >= 24) {
        info.redMask = 0xFF0000;
        info.greenMask = 0xFF00;
        info.blueMask = 0xFF;
        // Version 4 and 5 headers may give uncompressed 32-bit pixels an alpha channel.
        if (b == 32 && headerSize >= 56)
            info.alphaMask = u32(h.data() + 52);
    }
    const qint64 headerEnd = consumed;

    // Colour table.
    const int entry = headerSize == 12 ? 3 : 4;
    if (b <= 8)
        info.declaredColors = info.colorsUsed > 0 ? info.colorsUsed : (1u << b);
    else
        info.declaredColors = info.colorsUsed;
    const qint64 wanted = b <= 8 ? qMin<qint64>(info.declaredColors, 256) : 0;
    // The table ends where the pixels begin, whatever its declared size.
    qint64 available = wanted;
    if (withFileHeader && offBits > headerEnd)
        available = qMin(wanted, (qint64(offBits) - headerEnd) / entry);
    if (b <= 8 && available <= 0)
        available = wanted;
    for (qint64 i = 0; i < available; ++i) {
        uchar rgb[4];
        if (reader.read(rgb, entry) < entry)
            return failWith(why, QStringLiteral("The bitmap's colour table is cut short."));
        info.palette.push_back(qRgb(rgb[2], rgb[1], rgb[0]));
    }
    consumed += available * entry;
    info.tableEnd = headerEnd + info.declaredColors * entry;
    if (withFileHeader && offBits >= headerEnd && offBits < streamSize)
        info.pixelOffset = offBits;
    else
        info.pixelOffset = withFileHeader ? consumed : info.tableEnd;
    return true;
}
