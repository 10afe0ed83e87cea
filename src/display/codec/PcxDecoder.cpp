// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PCX pictures: 1, 2, 4 and 8 bits per plane, one to four planes (24 bits as three
// planes, 32 as four), run-length coded or plain, with the colour table of the header or
// the 256-colour table at the end of the file.
#include "display/codec/Decoders.h"

#include <QIODevice>

#include <cstring>
#include <vector>

#include "display/codec/ByteReader.h"
#include "display/codec/PcxFormat.h"

namespace {

// Run-length decoding that carries a run over into the next line, as many writers do.
class RunDecoder
{
public:
    explicit RunDecoder(ByteReader &reader, bool compressed)
        : m_reader(reader)
        , m_compressed(compressed)
    {}

    // Fills count bytes; false when the data ends first.
    bool fill(uchar *target, qint64 count)
    {
        if (!m_compressed)
            return m_reader.read(target, count) == count;
        qint64 done = 0;
        while (done < count) {
            if (m_run > 0) {
                const qint64 chunk = qMin<qint64>(m_run, count - done);
                std::memset(target + done, m_value, size_t(chunk));
                done += chunk;
                m_run -= int(chunk);
                continue;
            }
            qint64 available = 0;
            const uchar *in = m_reader.buffered(&available);
            if (available == 0)
                return false;
            // Walk the buffered bytes directly while they hold whole codes.
            qint64 used = 0;
            bool stop = false;
            while (!stop && done < count && used < available) {
                // Eight plain bytes at a time while no run code is among them.
                while (count - done >= 8 && available - used >= 8) {
                    quint64 word;
                    std::memcpy(&word, in + used, 8);
                    if (word & (word << 1) & 0x8080808080808080ull)
                        break;
                    std::memcpy(target + done, &word, 8);
                    done += 8;
                    used += 8;
                }
                // Then code by code over the next stretch.
                for (int k = 0; k < 16 && done < count && used < available; ++k) {
                    const uchar b = in[used];
                    if ((b & 0xC0) != 0xC0) {
                        target[done++] = b;
                        ++used;
                        continue;
                    }
                    if (used + 1 == available) {
                        stop = true; // the value byte is in the next buffer
                        break;
                    }
                    m_value = in[used + 1];
                    used += 2;
                    const qint64 chunk = qMin<qint64>(b & 0x3F, count - done);
                    // Runs of one are common where bytes need the code to escape them.
                    if (chunk == 1)
                        target[done] = m_value;
                    else
                        std::memset(target + done, m_value, size_t(chunk));
                    done += chunk;
                    m_run = (b & 0x3F) - int(chunk);
                    if (m_run > 0) {
                        stop = true;
                        break;
                    }
                }
            }
            m_reader.advance(used);
            if (used == 0) {
                // A run code at the very end of the buffer: take it and its value apart.
                const int code = m_reader.get();
                const int value = m_reader.get();
                if (value < 0)
                    return false;
                m_run = code & 0x3F;
                m_value = uchar(value);
            }
        }
        return true;
    }

private:
    ByteReader &m_reader;
    bool m_compressed;
    int m_run = 0;
    uchar m_value = 0;
};

} // namespace

QImage DecodePcx(QIODevice &in, DecodeContext &ctx)
{
    const qint64 start = in.pos();
    ByteReader reader(in);
    uchar raw[PcxHeaderSize];
    if (reader.read(raw, PcxHeaderSize) < PcxHeaderSize)
        return ctx.fail(QStringLiteral("This is not a PCX file."));
    PcxInfo h;
    QString why;
    if (!ParsePcxHeader(raw, h, &why))
        return ctx.fail(why);

    const int totalBits = h.bitsPerPixel * h.planes;
    const QImage::Format format = totalBits <= 8  ? QImage::Format_Indexed8
                                  : h.planes == 4 ? QImage::Format_ARGB32
                                                  : QImage::Format_RGB32;
    QImage image = ctx.allocate(h.width, h.height, format);
    if (image.isNull())
        return image;
    if (h.hDpi > 0 && h.vDpi > 0) {
        image.setDotsPerMeterX(qRound(h.hDpi / 0.0254));
        image.setDotsPerMeterY(qRound(h.vDpi / 0.0254));
    }

    if (totalBits <= 8) {
        QList<QRgb> table(256, qRgb(0, 0, 0));
        if (totalBits == 8) {
            // The 256-colour table follows a 0x0C marker at the very end.
            const qint64 size = in.size() - start;
            uchar tail[769];
            bool found = false;
            if (size >= PcxHeaderSize + 769 && reader.seek(start + size - 769)
                && reader.read(tail, 769) == 769 && tail[0] == 0x0C) {
                for (int i = 0; i < 256; ++i)
                    table[i] = qRgb(tail[1 + 3 * i], tail[2 + 3 * i], tail[3 + 3 * i]);
                found = true;
            }
            if (!found) {
                for (int i = 0; i < 256; ++i)
                    table[i] = qRgb(i, i, i);
            }
            if (!reader.seek(start + PcxHeaderSize))
                return ctx.fail(QStringLiteral("The PCX file cannot be read again."));
        } else {
            const QList<QRgb> header = PcxHeaderPalette(raw, h);
            for (int i = 0; i < header.size(); ++i)
                table[i] = header[i];
        }
        image.setColorTable(table);
    }

    const qint64 lineBytes = qint64(h.bytesPerLine) * h.planes;
    std::vector<uchar> line(static_cast<size_t>(lineBytes));
    RunDecoder runs(reader, h.encoding == 1);
    const int width = h.width;
    for (int y = 0; y < h.height; ++y) {
        uchar *target = image.scanLine(y);
        if (!runs.fill(line.data(), lineBytes)) {
            ctx.setTruncated();
            for (int r = y; r < h.height; ++r)
                std::memset(image.scanLine(r), 0, size_t(image.bytesPerLine()));
            break;
        }
        const uchar *src = line.data();
        const qint64 stride = h.bytesPerLine;
        if (h.planes == 1 && h.bitsPerPixel == 8) {
            std::memcpy(target, src, size_t(width));
        } else if (h.planes == 1) {
            const int bits = h.bitsPerPixel;
            const int perByte = 8 / bits;
            const int mask = (1 << bits) - 1;
            for (int x = 0; x < width; ++x)
                target[x] = uchar((src[x / perByte] >> (8 - bits * (x % perByte + 1))) & mask);
        } else if (h.bitsPerPixel == 1) {
            for (int x = 0; x < width; ++x) {
                int index = 0;
                for (int p = 0; p < h.planes; ++p)
                    index |= ((src[p * stride + x / 8] >> (7 - x % 8)) & 1) << p;
                target[x] = uchar(index);
            }
        } else {
            auto *out = reinterpret_cast<QRgb *>(target);
            const uchar *r = src;
            const uchar *g = src + stride;
            const uchar *b = src + 2 * stride;
            if (h.planes == 4) {
                const uchar *a = src + 3 * stride;
                for (int x = 0; x < width; ++x)
                    out[x] = qRgba(r[x], g[x], b[x], a[x]);
            } else {
                for (int x = 0; x < width; ++x)
                    out[x] = qRgb(r[x], g[x], b[x]);
            }
        }
        if (!ctx.advance(y + 1, h.height))
            return {};
    }
    return image;
}
