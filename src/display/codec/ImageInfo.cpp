// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/ImageInfo.h"

#include <QIODevice>

#include <cstdarg>
#include <cstring>

#include <tiffio.h>

#include "display/codec/BmpFormat.h"
#include "display/codec/ByteReader.h"
#include "display/codec/PcxFormat.h"
#include "display/codec/TiffDevice.h"

namespace {

quint32 be16(const uchar *p)
{
    return quint32(p[0]) << 8 | p[1];
}

quint32 be32(const uchar *p)
{
    return be16(p) << 16 | be16(p + 2);
}

int dpiFromPerMeter(qint64 perMeter)
{
    return perMeter > 0 ? int(qMin<qint64>(qRound(perMeter * 0.0254), 65535)) : 0;
}

bool bmpInfo(QIODevice &in, TImageInfo &info)
{
    ByteReader reader(in);
    BmpInfo bmp;
    if (!ReadBmpInfo(reader, true, in.size() - in.pos(), bmp, nullptr))
        return false;
    info.type = QStringLiteral("BMP");
    info.width = bmp.width;
    info.height = bmp.height;
    info.valueA = bmp.bits;
    info.valueB = dpiFromPerMeter(bmp.xPelsPerMeter);
    info.colors = bmp.bits <= 8 ? int(qMin<qint64>(bmp.declaredColors, 1 << bmp.bits)) : 0;
    info.description = bmp.describe();
    return true;
}

bool pcxInfo(const uchar *header, TImageInfo &info)
{
    PcxInfo pcx;
    if (!ParsePcxHeader(header, pcx, nullptr))
        return false;
    const int bits = pcx.bitsPerPixel * pcx.planes;
    info.type = QStringLiteral("PCX");
    info.width = pcx.width;
    info.height = pcx.height;
    info.valueA = bits;
    info.valueB = pcx.hDpi;
    info.colors = bits <= 8 ? 1 << bits : 0;
    info.description = QStringLiteral("PCX version %1%2")
                           .arg(pcx.version)
                           .arg(pcx.encoding ? QStringLiteral(", RLE") : QString());
    return true;
}

bool jpegInfo(QIODevice &in, TImageInfo &info)
{
    ByteReader reader(in);
    if (reader.get() != 0xFF || reader.get() != 0xD8)
        return false;
    int dpi = 0;
    bool adobe = false;
    for (;;) {
        int marker = reader.get();
        while (marker == 0xFF)
            marker = reader.get();
        if (marker < 0)
            return false;
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue;
        if (marker == 0xD9 || marker == 0xDA)
            return false; // no frame header before the image data
        const int hi = reader.get(), lo = reader.get();
        if (lo < 0)
            return false;
        const int length = hi << 8 | lo;
        if (length < 2)
            return false;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        const bool wanted = frame || marker == 0xE0 || marker == 0xEE;
        uchar data[16] = {};
        const int kept = wanted ? qMin(length - 2, int(sizeof data)) : 0;
        if (reader.read(data, kept) < kept || !reader.skip(length - 2 - kept))
            return false;
        if (marker == 0xE0 && kept >= 12 && std::memcmp(data, "JFIF\0", 5) == 0) {
            const int unit = data[7];
            const int x = int(be16(data + 8));
            dpi = unit == 1 ? x : unit == 2 ? qRound(x * 2.54) : 0;
        } else if (marker == 0xEE && kept >= 5 && std::memcmp(data, "Adobe", 5) == 0) {
            adobe = true;
        } else if (frame && kept >= 6) {
            const int components = data[5];
            info.type = QStringLiteral("JPG");
            info.height = int(be16(data + 1));
            info.width = int(be16(data + 3));
            info.valueA = data[0] * components;
            info.valueB = dpi;
            info.colors = components == 1 ? 256 : 0;
            const bool progressive =
                marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            info.description =
                QStringLiteral("JPEG %1%2")
                    .arg(progressive ? QStringLiteral("progressive") : QStringLiteral("baseline"),
                         components == 4
                             ? (adobe ? QStringLiteral(" Adobe CMYK") : QStringLiteral(" CMYK"))
                         : components == 1 ? QStringLiteral(" grey")
                                           : QString());
            return info.width > 0 && info.height > 0;
        }
    }
}

bool pngInfo(QIODevice &in, TImageInfo &info)
{
    ByteReader reader(in);
    uchar head[33];
    static const uchar Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (reader.read(head, 33) < 33 || std::memcmp(head, Signature, 8) != 0
        || std::memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    const quint32 width = be32(head + 16), height = be32(head + 20);
    const int depth = head[24], colorType = head[25];
    const bool interlaced = head[28] != 0;
    int channels = 0;
    QString kind;
    switch (colorType) {
    case 0:
        channels = 1;
        kind = QStringLiteral("grey");
        break;
    case 2:
        channels = 3;
        kind = QStringLiteral("RGB");
        break;
    case 3:
        channels = 1;
        kind = QStringLiteral("palette");
        break;
    case 4:
        channels = 2;
        kind = QStringLiteral("grey and alpha");
        break;
    case 6:
        channels = 4;
        kind = QStringLiteral("RGBA");
        break;
    default:
        return false;
    }
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    info.type = QStringLiteral("PNG");
    info.width = int(width);
    info.height = int(height);
    info.valueA = depth * channels;
    info.colors = (colorType == 0 || colorType == 3) && depth <= 8 ? 1 << depth : 0;
    info.description = QStringLiteral("PNG %1%2")
                           .arg(kind, interlaced ? QStringLiteral(" interlaced") : QString());
    // Colour count and resolution come from the chunks before the image data.
    for (;;) {
        uchar chunk[8];
        if (reader.read(chunk, 8) < 8)
            break;
        const quint32 length = be32(chunk);
        if (std::memcmp(chunk + 4, "IDAT", 4) == 0 || length > 0x7FFFFFFF)
            break;
        if (std::memcmp(chunk + 4, "PLTE", 4) == 0 && colorType == 3) {
            info.colors = int(qMin<quint32>(length / 3, 256));
        } else if (std::memcmp(chunk + 4, "pHYs", 4) == 0 && length == 9) {
            uchar phys[9];
            if (reader.read(phys, 9) < 9)
                break;
            if (phys[8] == 1)
                info.valueB = dpiFromPerMeter(be32(phys));
            if (!reader.skip(4))
                break;
            continue;
        }
        if (!reader.skip(qint64(length) + 4))
            break;
    }
    return true;
}

bool gifInfo(const uchar *head, TImageInfo &info)
{
    const int width = head[6] | head[7] << 8;
    const int height = head[8] | head[9] << 8;
    const int bits = (head[10] & 7) + 1;
    if (width == 0 || height == 0)
        return false;
    info.type = QStringLiteral("GIF");
    info.width = width;
    info.height = height;
    info.valueA = bits;
    info.colors = 1 << bits;
    info.description = QString::fromLatin1(reinterpret_cast<const char *>(head), 6);
    return true;
}

int quietHandler(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

QString tiffCompression(uint16_t code)
{
    switch (code) {
    case COMPRESSION_NONE:
        return QStringLiteral("uncompressed");
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        return QStringLiteral("CCITT");
    case COMPRESSION_LZW:
        return QStringLiteral("LZW");
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG:
        return QStringLiteral("JPEG");
    case COMPRESSION_PACKBITS:
        return QStringLiteral("PackBits");
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return QStringLiteral("Deflate");
    default:
        return QStringLiteral("compression %1").arg(code);
    }
}

bool tiffInfo(QIODevice &in, TImageInfo &info)
{
    TiffSource source{&in, in.pos()};
    TIFF *tif = OpenTiffDevice(source, quietHandler, quietHandler, nullptr);
    if (!tif)
        return false;
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = 0, compression = COMPRESSION_NONE;
    uint16_t unit = RESUNIT_INCH;
    float xRes = 0;
    const bool ok = TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width)
                    && TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xRes);
    TIFFClose(tif);
    if (!ok || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    const int total = bits * samples;
    info.type = QStringLiteral("TIF");
    info.width = int(width);
    info.height = int(height);
    info.valueA = total;
    if (xRes > 0 && xRes < 1e6)
        info.valueB = unit == RESUNIT_CENTIMETER ? qRound(xRes * 2.54) : qRound(xRes);
    const bool indexed =
        photometric == PHOTOMETRIC_PALETTE
        || ((photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE)
            && samples == 1);
    info.colors = indexed && bits <= 8 ? 1 << bits : 0;
    info.description = QStringLiteral("TIFF %1").arg(tiffCompression(compression));
    return true;
}

} // namespace

bool ReadImageInfoFrom(QIODevice &in, TImageInfo &info)
{
    info = TImageInfo();
    const qint64 start = in.pos();
    uchar head[PcxHeaderSize] = {};
    const qint64 got = in.peek(reinterpret_cast<char *>(head), PcxHeaderSize);
    if (got < 8)
        return false;
    bool ok = false;
    if (head[0] == 'B' && head[1] == 'M')
        ok = bmpInfo(in, info);
    else if (head[0] == 0xFF && head[1] == 0xD8)
        ok = jpegInfo(in, info);
    else if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G')
        ok = pngInfo(in, info);
    else if (got >= 13 && std::memcmp(head, "GIF8", 4) == 0 && (head[4] == '7' || head[4] == '9')
             && head[5] == 'a')
        ok = gifInfo(head, info);
    else if ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))
        ok = tiffInfo(in, info);
    else if (got == PcxHeaderSize && head[0] == 0x0A)
        ok = pcxInfo(head, info);
    in.seek(start);
    if (!ok)
        info = TImageInfo();
    return ok;
}
