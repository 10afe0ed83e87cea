// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/Exif.h"

#include <QTransform>

#include <cstring>

int ExifOrientation(const uchar *data, qsizetype size)
{
    constexpr qsizetype Tiff = 6; // after "Exif\0\0"
    if (size < Tiff + 8 || std::memcmp(data, "Exif\0\0", 6) != 0)
        return 0;
    const uchar *t = data + Tiff;
    const qsizetype tiffSize = size - Tiff;
    const bool little = t[0] == 'I' && t[1] == 'I';
    if (!little && !(t[0] == 'M' && t[1] == 'M'))
        return 0;
    auto u16 = [&](qsizetype at) -> quint32 {
        return little ? quint32(t[at]) | quint32(t[at + 1]) << 8
                      : quint32(t[at]) << 8 | quint32(t[at + 1]);
    };
    auto u32 = [&](qsizetype at) -> quint32 {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const qsizetype ifd = u32(4);
    if (ifd < 8 || ifd + 2 > tiffSize)
        return 0;
    const qsizetype entries = u16(ifd);
    for (qsizetype i = 0; i < entries; ++i) {
        const qsizetype at = ifd + 2 + i * 12;
        if (at + 12 > tiffSize)
            return 0;
        if (u16(at) == 0x0112 && u16(at + 2) == 3) {
            const quint32 value = u16(at + 8);
            return value >= 1 && value <= 8 ? int(value) : 0;
        }
    }
    return 0;
}

QImage ApplyExifOrientation(QImage image, int orientation)
{
    auto rotated = [](const QImage &source, qreal degrees) {
        return source.transformed(QTransform().rotate(degrees));
    };
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return rotated(image.mirrored(true, false), 270);
    case 6:
        return rotated(image, 90);
    case 7:
        return rotated(image.mirrored(true, false), 90);
    case 8:
        return rotated(image, 270);
    default:
        return image;
    }
}
