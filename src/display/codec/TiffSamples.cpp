// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/TiffSamples.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Layout
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t format = SAMPLEFORMAT_UINT;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t planar = PLANARCONFIG_CONTIG;
    int colours = 1; // 1 grey or 3 red, green, blue
    int alpha = -1;  // sample index of the alpha channel, -1 without
    bool premultiplied = false;
};

float halfToFloat(quint16 h)
{
    const int exponent = (h >> 10) & 0x1F;
    const int mantissa = h & 0x3FF;
    float value = 0;
    if (exponent == 0)
        value = std::ldexp(float(mantissa), -24);
    else if (exponent == 31)
        value = mantissa ? 0.0f : INFINITY;
    else
        value = std::ldexp(float(mantissa + 1024), exponent - 25);
    return (h & 0x8000) ? -value : value;
}

// Turns one stored sample into 0..255.
class SampleReader
{
public:
    explicit SampleReader(const Layout &l)
        : m_bits(l.bits)
        , m_format(l.format)
        , m_max(l.bits >= 32 ? 0xFFFFFFFFull : (1ull << l.bits) - 1)
    {}

    // The index-th sample of a row that starts at row.
    int operator()(const uchar *row, qint64 index) const
    {
        if (m_format == SAMPLEFORMAT_IEEEFP) {
            double v = 0;
            if (m_bits == 16) {
                quint16 h;
                std::memcpy(&h, row + index * 2, 2);
                v = halfToFloat(h);
            } else if (m_bits == 32) {
                float f;
                std::memcpy(&f, row + index * 4, 4);
                v = f;
            } else {
                std::memcpy(&v, row + index * 8, 8);
            }
            // Floating-point pictures hold 0 to 1; anything else is clipped.
            if (!(v > 0))
                return 0;
            return v >= 1 ? 255 : int(v * 255 + 0.5);
        }
        quint64 raw = 0;
        switch (m_bits) {
        case 8:
            raw = row[index];
            break;
        case 16: {
            quint16 v;
            std::memcpy(&v, row + index * 2, 2);
            raw = v;
            break;
        }
        case 24: {
            const uchar *p = row + index * 3;
            raw = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? (p[0] | p[1] << 8 | quint32(p[2]) << 16)
                                                  : (quint32(p[0]) << 16 | p[1] << 8 | p[2]);
            break;
        }
        case 32: {
            quint32 v;
            std::memcpy(&v, row + index * 4, 4);
            raw = v;
            break;
        }
        default: {
            // Packed most significant bit first, rows starting on a byte.
            const qint64 bit = index * m_bits;
            for (int i = 0; i < m_bits; ++i) {
                const qint64 at = bit + i;
                raw = raw << 1 | ((row[at >> 3] >> (7 - (at & 7))) & 1);
            }
            break;
        }
        }
        if (m_format == SAMPLEFORMAT_INT)
            raw = (raw + (m_max + 1) / 2) & m_max; // two's complement to offset binary
        // Sixteen bits keep their high byte, as libtiff's RGBA interface does, so that such
        // a picture looks the same whichever way it is read.
        if (m_bits == 16)
            return int(raw >> 8);
        return int((raw * 255 + m_max / 2) / m_max);
    }

private:
    int m_bits;
    int m_format;
    quint64 m_max;
};

bool readLayout(TIFF *tif, Layout &l)
{
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &l.width)
        || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &l.height))
        return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &l.bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &l.samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &l.format);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &l.planar);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &l.photometric))
        return false;
    switch (l.photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
        l.colours = 1;
        break;
    case PHOTOMETRIC_RGB:
        l.colours = 3;
        break;
    default:
        return false;
    }
    if (l.samples < l.colours || l.bits == 0)
        return false;
    const bool integer = l.format == SAMPLEFORMAT_UINT || l.format == SAMPLEFORMAT_INT;
    if (integer
            ? l.bits > 32
            : (l.format != SAMPLEFORMAT_IEEEFP || (l.bits != 16 && l.bits != 32 && l.bits != 64)))
        return false;
    uint16_t extraCount = 0;
    uint16_t *extra = nullptr;
    if (l.samples > l.colours) {
        l.alpha = l.colours;
        if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) && extraCount > 0) {
            l.premultiplied = extra[0] == EXTRASAMPLE_ASSOCALPHA;
            if (extra[0] == EXTRASAMPLE_UNSPECIFIED)
                l.alpha = -1;
        }
    }
    return true;
}

// Converts one row of width pixels; planes[k] points at sample k's row (all the same row
// for interleaved samples, with step giving the samples per pixel).
void convertRow(const Layout &l, const SampleReader &sample, const uchar *const *planes, int step,
                int width, QRgb *out)
{
    const bool invert = l.photometric == PHOTOMETRIC_MINISWHITE;
    auto at = [&](int k, int x) {
        return step == 1 ? sample(planes[k], x) : sample(planes[0], qint64(x) * step + k);
    };
    for (int x = 0; x < width; ++x) {
        int r = at(0, x);
        int g = r, b = r;
        if (l.colours == 3) {
            g = at(1, x);
            b = at(2, x);
        } else if (invert) {
            r = g = b = 255 - r;
        }
        const int a = l.alpha >= 0 ? at(l.alpha, x) : 255;
        out[x] = qRgba(r, g, b, a);
    }
}

} // namespace

bool TiffSamplesReadable(TIFF *tif)
{
    Layout l;
    return readLayout(tif, l);
}

QImage DecodeTiffSamples(TIFF *tif, DecodeContext &ctx, int *rowsDone)
{
    *rowsDone = 0;
    Layout l;
    if (!readLayout(tif, l))
        return ctx.fail(QStringLiteral("This TIFF picture's kind of samples is not supported."));
    const QImage::Format format = l.alpha < 0       ? QImage::Format_RGB32
                                  : l.premultiplied ? QImage::Format_ARGB32_Premultiplied
                                                    : QImage::Format_ARGB32;
    QImage image = ctx.allocate(int(l.width), int(l.height), format);
    if (image.isNull())
        return image;
    const SampleReader sample(l);
    const bool separate = l.planar == PLANARCONFIG_SEPARATE && l.samples > 1;
    // Only the planes shown are read: the colours and the alpha channel.
    const int planes = separate ? (l.alpha >= 0 ? l.colours + 1 : l.colours) : 1;
    const int step = separate ? 1 : l.samples;
    const bool tiled = TIFFIsTiled(tif);

    uint32_t blockWidth = l.width, blockHeight = 0;
    tmsize_t blockSize = 0, rowBytes = 0;
    if (tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &blockWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &blockHeight);
        blockSize = TIFFTileSize(tif);
        rowBytes = TIFFTileRowSize(tif);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &blockHeight);
        blockHeight = qMin(blockHeight, l.height);
        blockSize = TIFFStripSize(tif);
        rowBytes = TIFFScanlineSize(tif);
    }
    // Each block must hold its rows; a header claiming otherwise is not trusted.
    if (blockWidth == 0 || blockHeight == 0 || blockSize <= 0 || rowBytes <= 0
        || blockSize < rowBytes * tmsize_t(blockHeight) || blockSize > DecodeLimit()
        || rowBytes * 8 < tmsize_t(blockWidth) * l.bits * step)
        return ctx.fail(QStringLiteral("The TIFF picture's strips or tiles are inconsistent."));

    std::vector<std::vector<uchar>> buffers(static_cast<size_t>(planes),
                                            std::vector<uchar>(static_cast<size_t>(blockSize)));
    const uint32_t across = (l.width + blockWidth - 1) / blockWidth;
    const uint32_t down = (l.height + blockHeight - 1) / blockHeight;
    const uint32_t perPlane = tiled ? across * down : down;
    for (uint32_t by = 0; by < down; ++by) {
        for (uint32_t bx = 0; bx < across; ++bx) {
            for (int p = 0; p < planes; ++p) {
                const uint32_t block = p * perPlane + by * (tiled ? across : 1) + bx;
                const tmsize_t got =
                    tiled ? TIFFReadEncodedTile(tif, block, buffers[size_t(p)].data(), blockSize)
                          : TIFFReadEncodedStrip(tif, block, buffers[size_t(p)].data(), blockSize);
                if (got < 0) {
                    // What was read shows; the rest stays black.
                    for (int y = *rowsDone; y < image.height(); ++y)
                        std::memset(image.scanLine(y), 0, size_t(image.bytesPerLine()));
                    return image;
                }
            }
            const int x0 = int(bx * blockWidth);
            const int pixels = int(qMin(blockWidth, l.width - bx * blockWidth));
            const int rows = int(qMin(blockHeight, l.height - by * blockHeight));
            for (int r = 0; r < rows; ++r) {
                const uchar *starts[4] = {};
                for (int p = 0; p < planes; ++p)
                    starts[p] = buffers[size_t(p)].data() + r * rowBytes;
                auto *out =
                    reinterpret_cast<QRgb *>(image.scanLine(int(by * blockHeight) + r)) + x0;
                convertRow(l, sample, starts, step, pixels, out);
            }
        }
        *rowsDone = int(qMin(l.height, (by + 1) * blockHeight));
        if (!ctx.advance(*rowsDone, l.height))
            return {};
    }
    return image;
}
