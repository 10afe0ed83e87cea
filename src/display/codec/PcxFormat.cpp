// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/PcxFormat.h"

namespace {

int u16(const uchar *p)
{
    return int(p[0]) | int(p[1]) << 8;
}

// The colours of a display adapter with 16 colours, for files that carry none (version 3).
constexpr QRgb EgaColors[16] = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF,
};

} // namespace

bool ParsePcxHeader(const uchar *h, PcxInfo &info, QString *why)
{
    auto fail = [why](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    if (h[0] != 0x0A || h[2] > 1)
        return fail(QStringLiteral("This is not a PCX file."));
    info.version = h[1];
    info.encoding = h[2];
    info.bitsPerPixel = h[3];
    info.planes = h[65];
    const int xmin = u16(h + 4), ymin = u16(h + 6), xmax = u16(h + 8), ymax = u16(h + 10);
    info.width = xmax - xmin + 1;
    info.height = ymax - ymin + 1;
    info.hDpi = u16(h + 12);
    info.vDpi = u16(h + 14);
    info.bytesPerLine = u16(h + 66);
    if (info.width <= 0 || info.height <= 0)
        return fail(QStringLiteral("The PCX picture's size is invalid (%1 x %2).")
                        .arg(info.width)
                        .arg(info.height));
    const int b = info.bitsPerPixel;
    const int p = info.planes;
    const bool supported = (b == 1 && p >= 1 && p <= 4) || ((b == 2 || b == 4) && p == 1)
                           || (b == 8 && (p == 1 || p == 3 || p == 4));
    if (!supported)
        return fail(QStringLiteral("PCX pictures of %1 bits in %2 planes are not supported.")
                        .arg(b)
                        .arg(p));
    if (qint64(info.bytesPerLine) * 8 < qint64(info.width) * b)
        return fail(QStringLiteral("The PCX lines are shorter than the picture is wide."));
    return true;
}

QList<QRgb> PcxHeaderPalette(const uchar *h, const PcxInfo &info)
{
    const int colours = 1 << (info.bitsPerPixel * info.planes);
    QList<QRgb> table;
    if (info.version == 3 && colours > 2) {
        for (int i = 0; i < colours; ++i)
            table.append(EgaColors[i]);
        return table;
    }
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]));
    // Many two-colour files leave the table empty: they mean black and white.
    if (colours == 2 && table[0] == table[1])
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return table;
}
