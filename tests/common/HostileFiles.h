// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small files whose headers claim pictures of 20000 x 20000 pixels (and one 131168 x
// 4096), in every format and bit depth the readers take, for the tests and the
// benchmark of what refusing them costs.
#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QString>

#include <functional>
#include <tiffio.h>
#include <vector>
#include <zlib.h>

inline constexpr quint32 Side = 20000;

inline QByteArray littleEndian(const std::function<void(QDataStream &)> &write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    write(out);
    return bytes;
}

inline QByteArray bmp(quint32 width, quint32 height, quint16 bits, quint32 compression)
{
    const quint32 colours = bits <= 8 ? (1u << bits) : 0;
    const quint32 offset = 14 + 40 + colours * 4 + (compression == 3 ? 12 : 0);
    return littleEndian([&](QDataStream &out) {
        out.writeRawData("BM", 2);
        out << quint32(offset + 64) << quint32(0) << quint32(offset);
        out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << bits << compression
            << quint32(64) << quint32(2835) << quint32(2835) << colours << quint32(0);
        if (compression == 3)
            out << quint32(0xF800) << quint32(0x07E0) << quint32(0x001F);
        for (quint32 i = 0; i < colours; ++i)
            out << quint32(i * 0x010101u);
        for (int i = 0; i < 64; ++i)
            out << quint8(i % 2 ? 0 : 1);
    });
}

inline QByteArray pcx(quint8 bits, quint8 planes)
{
    const quint16 line = quint16(((Side * bits + 15) / 16) * 2);
    return littleEndian([&](QDataStream &out) {
        out << quint8(10) << quint8(5) << quint8(1) << bits << quint16(0) << quint16(0)
            << quint16(Side - 1) << quint16(Side - 1) << quint16(72) << quint16(72);
        for (int i = 0; i < 48; ++i)
            out << quint8(i * 5);
        out << quint8(0) << planes << line << quint16(1) << quint16(0) << quint16(0);
        for (int i = 0; i < 54; ++i)
            out << quint8(0);
        for (int i = 0; i < 200; ++i)
            out << quint8(0xC1) << quint8(i);
        if (bits == 8 && planes == 1) {
            out << quint8(12);
            for (int i = 0; i < 768; ++i)
                out << quint8(i / 3);
        }
    });
}

inline QByteArray gif()
{
    return littleEndian([](QDataStream &out) {
        out.writeRawData("GIF89a", 6);
        out << quint16(Side) << quint16(Side) << quint8(0x80) << quint8(0) << quint8(0);
        out << quint8(0) << quint8(0) << quint8(0) << quint8(255) << quint8(255) << quint8(255);
        out << quint8(0x2C) << quint16(0) << quint16(0) << quint16(Side) << quint16(Side)
            << quint8(0) << quint8(2) << quint8(2) << quint8(0x4C) << quint8(0x01) << quint8(0)
            << quint8(0x3B);
    });
}

inline QByteArray pngChunk(const char *type, const QByteArray &data)
{
    QByteArray chunk;
    QDataStream out(&chunk, QIODevice::WriteOnly);
    out << quint32(data.size());
    const QByteArray body = QByteArray(type, 4) + data;
    out.writeRawData(body.constData(), int(body.size()));
    out << quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
    return chunk;
}

inline QByteArray png(quint8 depth, quint8 colourType)
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out << quint32(Side) << quint32(Side) << depth << colourType << quint8(0) << quint8(0)
        << quint8(0);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += pngChunk("IHDR", header);
    if (colourType == 3)
        png += pngChunk("PLTE", QByteArray("\0\0\0\xff\xff\xff", 6));
    png += pngChunk("IDAT", qCompress(QByteArray(64, '\0')).mid(4));
    png += pngChunk("IEND", {});
    return png;
}

// A TIFF at path of one written row, strip or tile of a picture its header says is huge.
inline QByteArray hugeTiff(const QString &path, int bits, int samples, bool tiled, bool planar)
{
    TIFF *out = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!out)
        return {};
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, Side);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, Side);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(out, TIFFTAG_PLANARCONFIG, planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    std::vector<uint16_t> map(size_t(1) << bits, 0);
    if (samples == 1 && bits <= 8) {
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(out, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
    } else {
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    std::vector<uint8_t> buffer(size_t(Side) * 8, 0);
    if (tiled) {
        TIFFSetField(out, TIFFTAG_TILEWIDTH, 256);
        TIFFSetField(out, TIFFTAG_TILELENGTH, 256);
        buffer.assign(size_t(TIFFTileSize(out)), 0);
        TIFFWriteTile(out, buffer.data(), 0, 0, 0, 0);
    } else {
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 1);
        TIFFWriteScanline(out, buffer.data(), 0, 0);
    }
    TIFFClose(out);
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

inline QByteArray ico(const QByteArray &image)
{
    return littleEndian([&](QDataStream &out) {
        out << quint16(0) << quint16(1) << quint16(1);
        out << quint8(0) << quint8(0) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(image.size()) << quint32(22);
        out.writeRawData(image.constData(), int(image.size()));
    });
}

struct HostileFile
{
    QByteArray title;
    QString name;
    QByteArray bytes;
};

// Every hostile file but the TIFFs, which hugeTiff writes.
inline QList<HostileFile> HostileFiles()
{
    QList<HostileFile> files;
    for (const quint16 bits : {1, 4, 8, 16, 24, 32})
        files.append({"BMP " + QByteArray::number(bits) + " bits",
                      QStringLiteral("bits%1.bmp").arg(bits),
                      bmp(Side, Side, bits, bits == 16 ? 3 : 0)});
    files.append(
        {"BMP 8 bits, 131168 x 4096", QStringLiteral("wide.bmp"), bmp(131168, 4096, 8, 0)});
    files.append({"BMP RLE8", QStringLiteral("rle8.bmp"), bmp(Side, Side, 8, 1)});
    files.append({"BMP RLE4", QStringLiteral("rle4.bmp"), bmp(Side, Side, 4, 2)});
    files.append({"PCX 1 bit", QStringLiteral("one.pcx"), pcx(1, 1)});
    files.append({"PCX 2 bits", QStringLiteral("two.pcx"), pcx(2, 1)});
    files.append({"PCX 4 planes", QStringLiteral("four.pcx"), pcx(1, 4)});
    files.append({"PCX 8 bits", QStringLiteral("eight.pcx"), pcx(8, 1)});
    files.append({"PCX 24 bits", QStringLiteral("rgb.pcx"), pcx(8, 3)});
    files.append({"GIF", QStringLiteral("huge.gif"), gif()});
    files.append({"PNG palette", QStringLiteral("palette.png"), png(8, 3)});
    files.append({"PNG 16 bits", QStringLiteral("deep.png"), png(16, 2)});
    files.append({"ICO with a PNG", QStringLiteral("png.ico"), ico(png(8, 6))});
    files.append({"ICO with a bitmap", QStringLiteral("bitmap.ico"),
                  ico(bmp(Side, Side * 2, 32, 0).mid(14))});
    return files;
}
