// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows and OS/2 bitmaps: core, OS/2 2.x and information headers of every size;
// 1, 2, 4, 8, 16, 24 and 32 bits; RLE4, RLE8, OS/2 RLE24, bit fields, embedded JPEG and
// PNG; bottom-up and top-down rows.
#include "display/codec/Decoders.h"

#include <QIODevice>

#include <cstring>
#include <vector>

#include "display/codec/BmpFormat.h"
#include "display/codec/ByteReader.h"

namespace {

// Maps the bits of one mask to 0..255, scaling so that the largest value gives 255.
class Channel
{
public:
    Channel(quint32 mask, quint8 missing)
        : m_missing(missing)
    {
        if (mask == 0)
            return;
        while (!(mask & 1u)) {
            mask >>= 1;
            ++m_shift;
        }
        while (mask & 1u) {
            mask >>= 1;
            ++m_bits;
        }
        const quint32 max = m_bits >= 32 ? 0xFFFFFFFFu : (1u << m_bits) - 1;
        m_mask = max;
        if (m_bits <= 8) {
            m_table.resize(size_t(max) + 1);
            for (quint32 v = 0; v <= max; ++v)
                m_table[v] = quint8((v * 255 + max / 2) / max);
        }
    }

    quint8 operator()(quint32 pixel) const
    {
        if (m_bits == 0)
            return m_missing;
        const quint32 v = (pixel >> m_shift) & m_mask;
        return m_bits <= 8 ? m_table[v] : quint8(v >> (m_bits - 8));
    }

private:
    quint8 m_missing;
    int m_shift = 0;
    int m_bits = 0;
    quint32 m_mask = 0;
    std::vector<quint8> m_table;
};

class BmpReader
{
public:
    BmpReader(QIODevice &in, DecodeContext &ctx)
        : m_in(in)
        , m_ctx(ctx)
        , m_reader(in)
    {}

    QImage decode(bool withFileHeader);

private:
    QImage decodeUncompressed(QImage image);
    QImage decodeRle(QImage image);
    QImage decodeEmbedded(bool png);
    // The embedded colour profile, into the context.
    void readProfile();
    int targetRow(int fileRow) const
    {
        return m_header.topDown ? fileRow : m_header.height - 1 - fileRow;
    }

    QIODevice &m_in;
    DecodeContext &m_ctx;
    ByteReader m_reader;
    BmpInfo m_header;
    qint64 m_start = 0;
};

QImage BmpReader::decode(bool withFileHeader)
{
    m_start = m_in.pos();
    QString why;
    if (!ReadBmpInfo(m_reader, withFileHeader, m_in.size() - m_start, m_header, &why))
        return m_ctx.fail(why);

    const BmpInfo &h = m_header;
    readProfile();
    if (h.compression == BmpInfo::Jpeg || h.compression == BmpInfo::Png) {
        if (!m_reader.seek(m_start + h.pixelOffset))
            return m_ctx.fail(QStringLiteral("The bitmap's embedded picture is missing."));
        return decodeEmbedded(h.compression == BmpInfo::Png);
    }

    const bool indexed = h.bits <= 8;
    const QImage::Format format = indexed       ? QImage::Format_Indexed8
                                  : h.alphaMask ? QImage::Format_ARGB32
                                                : QImage::Format_RGB32;
    QImage image = m_ctx.allocate(h.width, h.height, format);
    if (image.isNull())
        return image;
    if (indexed) {
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (int i = 0; i < int(h.palette.size()) && i < 256; ++i)
            table[i] = h.palette[size_t(i)];
        image.setColorTable(table);
    }
    if (h.xPelsPerMeter > 0)
        image.setDotsPerMeterX(h.xPelsPerMeter);
    if (h.yPelsPerMeter > 0)
        image.setDotsPerMeterY(h.yPelsPerMeter);

    if (!m_reader.seek(m_start + h.pixelOffset)) {
        m_ctx.setTruncated();
        image.fill(0);
        return image;
    }
    if (h.compression == BmpInfo::Rle8 || h.compression == BmpInfo::Rle4
        || h.compression == BmpInfo::Rle24)
        return decodeRle(std::move(image));
    return decodeUncompressed(std::move(image));
}

QImage BmpReader::decodeUncompressed(QImage image)
{
    const BmpInfo &h = m_header;
    const qint64 rowBytes = ((qint64(h.width) * h.bits + 31) / 32) * 4;
    std::vector<uchar> row(static_cast<size_t>(rowBytes));
    const Channel red(h.redMask, 0), green(h.greenMask, 0), blue(h.blueMask, 0);
    const Channel alpha(h.alphaMask, 255);
    const bool plain32 = h.bits == 32 && h.redMask == 0xFF0000u && h.greenMask == 0xFF00u
                         && h.blueMask == 0xFFu && h.alphaMask == 0;

    for (int fileRow = 0; fileRow < h.height; ++fileRow) {
        uchar *target = image.scanLine(targetRow(fileRow));
        if (m_reader.read(row.data(), rowBytes) < rowBytes) {
            // The rest of the picture stays black.
            m_ctx.setTruncated();
            for (int r = fileRow; r < h.height; ++r)
                std::memset(image.scanLine(targetRow(r)), 0, size_t(image.bytesPerLine()));
            break;
        }
        const uchar *src = row.data();
        auto *out = reinterpret_cast<QRgb *>(target);
        switch (h.bits) {
        case 1:
        case 2:
        case 4: {
            const int perByte = 8 / h.bits;
            const int mask = (1 << h.bits) - 1;
            for (int x = 0; x < h.width; ++x) {
                const int shift = 8 - h.bits * (x % perByte + 1);
                target[x] = uchar((src[x / perByte] >> shift) & mask);
            }
            break;
        }
        case 8:
            std::memcpy(target, src, size_t(h.width));
            break;
        case 16:
            for (int x = 0; x < h.width; ++x) {
                const quint32 p = quint32(src[2 * x]) | quint32(src[2 * x + 1]) << 8;
                out[x] = qRgba(red(p), green(p), blue(p), alpha(p));
            }
            break;
        case 24:
            if (h.compression == BmpInfo::Rgb) {
                for (int x = 0; x < h.width; ++x, src += 3)
                    out[x] = qRgb(src[2], src[1], src[0]);
            } else {
                for (int x = 0; x < h.width; ++x, src += 3) {
                    const quint32 p =
                        quint32(src[0]) | quint32(src[1]) << 8 | quint32(src[2]) << 16;
                    out[x] = qRgba(red(p), green(p), blue(p), alpha(p));
                }
            }
            break;
        default:
            if (plain32) {
                for (int x = 0; x < h.width; ++x, src += 4)
                    out[x] = 0xFF000000u | quint32(src[0]) | quint32(src[1]) << 8
                             | quint32(src[2]) << 16;
            } else {
                for (int x = 0; x < h.width; ++x, src += 4) {
                    const quint32 p = quint32(src[0]) | quint32(src[1]) << 8 | quint32(src[2]) << 16
                                      | quint32(src[3]) << 24;
                    out[x] = qRgba(red(p), green(p), blue(p), alpha(p));
                }
            }
            break;
        }
        if (!m_ctx.advance(fileRow + 1, h.height))
            return {};
    }
    return image;
}

QImage BmpReader::decodeRle(QImage image)
{
    const BmpInfo &h = m_header;
    // Pixels the data skips (deltas, early line ends) stay at colour 0.
    image.fill(0);
    const bool rle24 = h.compression == BmpInfo::Rle24;
    const bool rle4 = h.compression == BmpInfo::Rle4;
    int x = 0;
    int y = 0;
    int code4 = 0;
    auto put = [&](quint32 value) {
        if (x < h.width && y < h.height) {
            uchar *line = image.scanLine(targetRow(y));
            if (rle24)
                reinterpret_cast<QRgb *>(line)[x] = 0xFF000000u | value;
            else
                line[x] = uchar(value);
        }
        // Past the right edge nothing is drawn; x stays there rather than growing.
        x = qMin(x + 1, h.width);
    };
    auto pixel24 = [&]() -> qint64 {
        const int b = m_reader.get(), g = m_reader.get(), r = m_reader.get();
        if (r < 0)
            return -1;
        return qint64(qRgb(r, g, b) & 0xFFFFFFu);
    };

    while (y < h.height) {
        const int count = m_reader.get();
        const int code = count < 0 ? -1 : (rle24 ? 0 : m_reader.get());
        if (count < 0 || code < 0) {
            m_ctx.setTruncated();
            break;
        }
        if (count > 0) {
            if (rle24) {
                const qint64 p = pixel24();
                if (p < 0) {
                    m_ctx.setTruncated();
                    break;
                }
                for (int i = 0; i < count && x < h.width; ++i)
                    put(quint32(p));
            } else {
                for (int i = 0; i < count && x < h.width; ++i)
                    put(rle4 ? ((i & 1) ? code & 0x0F : code >> 4) : quint32(code));
            }
            continue;
        }
        const int escape = rle24 ? m_reader.get() : code;
        if (escape < 0) {
            m_ctx.setTruncated();
            break;
        }
        if (escape == 0) { // end of line
            x = 0;
            ++y;
            if (!m_ctx.advance(y, h.height))
                return {};
        } else if (escape == 1) { // end of bitmap
            break;
        } else if (escape == 2) { // move right and up
            const int dx = m_reader.get();
            const int dy = m_reader.get();
            if (dy < 0) {
                m_ctx.setTruncated();
                break;
            }
            x = qMin(x + dx, h.width);
            y += dy;
            if (dy > 0 && !m_ctx.advance(y, h.height))
                return {};
        } else { // a literal run, padded to a 16-bit boundary
            const int literal = escape;
            qint64 bytes = 0;
            bool ok = true;
            for (int i = 0; i < literal && ok; ++i) {
                if (rle24) {
                    const qint64 p = pixel24();
                    ok = p >= 0;
                    if (ok)
                        put(quint32(p));
                    bytes += 3;
                } else if (rle4) {
                    if (!(i & 1)) {
                        const int b = m_reader.get();
                        ok = b >= 0;
                        code4 = b;
                        ++bytes;
                    }
                    if (ok)
                        put((i & 1) ? code4 & 0x0F : code4 >> 4);
                } else {
                    const int b = m_reader.get();
                    ok = b >= 0;
                    if (ok)
                        put(quint32(b));
                    ++bytes;
                }
            }
            if (!ok) {
                m_ctx.setTruncated();
                break;
            }
            if (bytes & 1)
                m_reader.get();
        }
    }
    return image;
}

void BmpReader::readProfile()
{
    const BmpInfo &h = m_header;
    // Larger ones are not real profiles.
    constexpr quint32 MostProfileBytes = 16 << 20;
    if (h.profileSize == 0 || h.profileSize > MostProfileBytes
        || h.profileOffset + qint64(h.profileSize) > m_in.size() - m_start
        || !m_reader.seek(m_start + h.profileOffset))
        return;
    QByteArray profile(qsizetype(h.profileSize), '\0');
    if (m_reader.read(reinterpret_cast<uchar *>(profile.data()), profile.size()) == profile.size())
        m_ctx.setColorProfile(profile);
}

QImage BmpReader::decodeEmbedded(bool png)
{
    // The embedded stream reports its own progress; keep the outer count steady.
    return png ? DecodePng(m_in, m_ctx) : DecodeJpeg(m_in, m_ctx);
}

} // namespace

QImage DecodeBmp(QIODevice &in, DecodeContext &ctx)
{
    return BmpReader(in, ctx).decode(true);
}

QImage DecodeDib(QIODevice &in, DecodeContext &ctx)
{
    return BmpReader(in, ctx).decode(false);
}
