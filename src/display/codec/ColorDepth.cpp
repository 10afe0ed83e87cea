// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/ColorDepth.h"

#include <QPaintDevice>

#include <algorithm>
#include <array>
#include <vector>

namespace {

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// Nearest palette entry, remembered per 5-bit cell of colour space.
class NearestColour
{
public:
    explicit NearestColour(const QList<QRgb> &palette)
        : m_palette(palette)
    {
        m_cache.fill(-1);
    }

    int operator()(int r, int g, int b)
    {
        const int cell = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
        if (m_cache[size_t(cell)] < 0) {
            const QRgb centre = qRgb((r & ~7) | 4, (g & ~7) | 4, (b & ~7) | 4);
            int best = 0;
            for (int i = 1; i < m_palette.size(); ++i) {
                if (distance(centre, m_palette[i]) < distance(centre, m_palette[best]))
                    best = i;
            }
            m_cache[size_t(cell)] = qint16(best);
        }
        return m_cache[size_t(cell)];
    }

private:
    QList<QRgb> m_palette;
    std::array<qint16, 32 * 32 * 32> m_cache;
};

// Maps a picture onto a fixed palette, spreading each pixel's error onto its neighbours
// (Floyd and Steinberg) when asked to dither.
QImage toPalette(const QImage &source, const QList<QRgb> &palette, bool dither)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    if (out.isNull() || palette.isEmpty())
        return {};
    out.setColorTable(palette);
    out.setDotsPerMeterX(source.dotsPerMeterX());
    out.setDotsPerMeterY(source.dotsPerMeterY());
    NearestColour nearest(palette);
    const int w = rgb.width();
    // Errors of this row and the next, per channel, with a guard pixel at each end.
    std::vector<int> errors(size_t(w + 2) * 6, 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *target = out.scanLine(y);
        int *current = errors.data() + (y % 2) * (w + 2) * 3;
        int *next = errors.data() + ((y + 1) % 2) * (w + 2) * 3;
        std::fill(next, next + (w + 2) * 3, 0);
        for (int x = 0; x < w; ++x) {
            int c[3] = {qRed(in[x]), qGreen(in[x]), qBlue(in[x])};
            if (dither) {
                for (int k = 0; k < 3; ++k)
                    c[k] = qBound(0, c[k] + current[(x + 1) * 3 + k] / 16, 255);
            }
            const int index = nearest(c[0], c[1], c[2]);
            target[x] = uchar(index);
            if (!dither)
                continue;
            const QRgb chosen = palette[index];
            const int e[3] = {c[0] - qRed(chosen), c[1] - qGreen(chosen), c[2] - qBlue(chosen)};
            for (int k = 0; k < 3; ++k) {
                current[(x + 2) * 3 + k] += e[k] * 7;
                next[x * 3 + k] += e[k] * 3;
                next[(x + 1) * 3 + k] += e[k] * 5;
                next[(x + 2) * 3 + k] += e[k];
            }
        }
    }
    return out;
}

} // namespace

QList<QRgb> VgaPalette()
{
    return {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
            0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
            0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
}

QList<QRgb> AdaptivePalette(const QImage &image, int count)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> sample;
    const qint64 pixels = qint64(rgb.width()) * rgb.height();
    const qint64 step = qMax<qint64>(1, pixels / 65536);
    for (qint64 i = 0; i < pixels; i += step) {
        const int y = int(i / rgb.width());
        sample.push_back(reinterpret_cast<const QRgb *>(rgb.constScanLine(y))[i % rgb.width()]);
    }
    if (sample.empty())
        return {qRgb(0, 0, 0)};

    struct Box
    {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, sample.size()}};
    auto channel = [](QRgb c, int k) { return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c); };
    auto widest = [&](const Box &box, int *which) {
        int best = -1;
        for (int k = 0; k < 3; ++k) {
            int lo = 255, hi = 0;
            for (size_t i = box.begin; i < box.end; ++i) {
                lo = qMin(lo, channel(sample[i], k));
                hi = qMax(hi, channel(sample[i], k));
            }
            if (hi - lo > best) {
                best = hi - lo;
                *which = k;
            }
        }
        return best;
    };
    while (int(boxes.size()) < count) {
        // Split the box with the widest spread of colour at its median.
        int chosen = -1, axis = 0, spread = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            int k = 0;
            const int s = boxes[size_t(i)].end - boxes[size_t(i)].begin > 1
                              ? widest(boxes[size_t(i)], &k)
                              : 0;
            if (s > spread) {
                spread = s;
                chosen = i;
                axis = k;
            }
        }
        if (chosen < 0)
            break;
        Box box = boxes[size_t(chosen)];
        const size_t middle = box.begin + (box.end - box.begin) / 2;
        std::nth_element(sample.begin() + box.begin, sample.begin() + middle,
                         sample.begin() + box.end,
                         [&](QRgb a, QRgb b) { return channel(a, axis) < channel(b, axis); });
        boxes[size_t(chosen)] = {box.begin, middle};
        boxes.push_back({middle, box.end});
    }
    QList<QRgb> palette;
    for (const Box &box : boxes) {
        qint64 sum[3] = {0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i) {
            for (int k = 0; k < 3; ++k)
                sum[k] += channel(sample[i], k);
        }
        const qint64 n = qMax<qint64>(1, qint64(box.end - box.begin));
        palette.append(qRgb(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)));
    }
    return palette;
}

QImage ApplyColorDepth(QImage image, int colorBits, bool dither)
{
    if (image.isNull())
        return image;
    const Qt::ImageConversionFlags flags = dither ? Qt::DiffuseDither | Qt::DiffuseAlphaDither
                                                  : Qt::ThresholdDither | Qt::ThresholdAlphaDither;
    switch (colorBits) {
    case 1:
        return image.format() == QImage::Format_Mono
                   ? image
                   : image.convertToFormat(QImage::Format_Mono, flags);
    case 0:
        return toPalette(image, VgaPalette(), dither);
    case 4:
        if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= 16)
            return image;
        return toPalette(image, AdaptivePalette(image, 16), dither);
    case 8:
        if (image.format() == QImage::Format_Indexed8)
            return image;
        return image.convertToFormat(QImage::Format_Indexed8, flags);
    default:
        switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            return image;
        default:
            return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
        }
    }
}

int DeviceColorBits(int deviceBits)
{
    if (deviceBits < 5)
        return 4;
    if (deviceBits >= 16)
        return 24;
    return 8;
}

int DeviceColorBits(const QPaintDevice *device)
{
    return DeviceColorBits(device ? device->depth() : 24);
}
