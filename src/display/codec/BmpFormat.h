// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>
#include <QString>

#include <vector>

class ByteReader;

// The headers of a Windows or OS/2 bitmap, as the decoder, the information reader and
// the resource reader need them.
struct BmpInfo
{
    enum Compression {
        Rgb = 0,
        Rle8 = 1,
        Rle4 = 2,
        BitFields = 3,
        Jpeg = 4,
        Png = 5,
        AlphaBitFields = 6,
        Rle24 = 100, // OS/2 2.x code 4 at 24 bits
    };

    bool hasFileHeader = false;
    bool os2 = false;
    int headerSize = 0;
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    int compression = Rgb;
    int xPelsPerMeter = 0;
    int yPelsPerMeter = 0;
    quint32 colorsUsed = 0;
    quint32 redMask = 0;
    quint32 greenMask = 0;
    quint32 blueMask = 0;
    quint32 alphaMask = 0;
    // Colours of the colour table (at most 256) and how many the file declares.
    std::vector<QRgb> palette;
    qint64 declaredColors = 0;
    // Offset of the pixels from the start of the data.
    qint64 pixelOffset = 0;
    // Offset just past the colour table: where the pixels of a resource bitmap start.
    qint64 tableEnd = 0;
    // An embedded colour profile (V5 header), from the start of the data; a linked one
    // names a file elsewhere and is not followed.
    qint64 profileOffset = 0;
    quint32 profileSize = 0;

    QString describe() const;
};

// Reads and checks the headers and the colour table from the reader's position; the
// data holds streamSize bytes from there. On failure why tells the reason.
bool ReadBmpInfo(ByteReader &reader, bool withFileHeader, qint64 streamSize, BmpInfo &info,
                 QString *why);
