// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF pictures through libtiff: the first page, in any photometric interpretation and
// compression the library reads (LZW, PackBits, Deflate, JPEG, CCITT, ...), 1 to 16 bits.
#include "display/codec/Decoders.h"

#include <QIODevice>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <tiffio.h>

#include "display/codec/Exif.h"
#include "display/codec/TiffDevice.h"

namespace {

struct TiffMessages
{
    char error[256] = {};
};

int onError(TIFF *, void *user, const char *module, const char *format, va_list args)
{
    auto *messages = static_cast<TiffMessages *>(user);
    if (!messages->error[0]) {
        char text[200];
        std::vsnprintf(text, sizeof text, format, args);
        std::snprintf(messages->error, sizeof messages->error, "%s: %s", module ? module : "",
                      text);
    }
    return 1;
}

int onWarning(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

} // namespace

QImage DecodeTiff(QIODevice &in, DecodeContext &ctx)
{
    TiffMessages messages;
    TiffSource source{&in, in.pos()};
    TIFF *tif = OpenTiffDevice(source, onError, onWarning, &messages);
    if (!tif)
        return ctx.fail(QStringLiteral("This is not a readable TIFF file (%1).")
                            .arg(QString::fromLatin1(messages.error)));
    struct Close
    {
        TIFF *tif;
        ~Close() { TIFFClose(tif); }
    } close{tif};

    char why[1024] = {};
    TIFFRGBAImage rgba;
    if (!TIFFRGBAImageOK(tif, why) || !TIFFRGBAImageBegin(&rgba, tif, 0, why))
        return ctx.fail(
            QStringLiteral("This TIFF picture cannot be read (%1).").arg(QString::fromLatin1(why)));
    struct End
    {
        TIFFRGBAImage &rgba;
        ~End() { TIFFRGBAImageEnd(&rgba); }
    } end{rgba};
    // Rows come as stored; the orientation is applied afterwards like a JPEG's, which
    // also covers the rotated orientations the library leaves alone.
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (orientation < ORIENTATION_TOPLEFT || orientation > ORIENTATION_LEFTBOT)
        orientation = ORIENTATION_TOPLEFT;
    rgba.req_orientation = orientation;

    const bool alpha = rgba.alpha != 0;
    QImage image =
        ctx.allocate(int(rgba.width), int(rgba.height),
                     alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888);
    if (image.isNull())
        return image;
    float xRes = 0, yRes = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xRes)
        && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yRes) && xRes > 0 && yRes > 0 && xRes < 1e6
        && yRes < 1e6) {
        const double perMeter = unit == RESUNIT_CENTIMETER ? 100.0 : 1 / 0.0254;
        image.setDotsPerMeterX(qRound(xRes * perMeter));
        image.setDotsPerMeterY(qRound(yRes * perMeter));
    }

    // Read a strip (or a row of tiles) at a time, so progress can be told and the load
    // stopped.
    const int height = int(rgba.height);
    const int width = int(rgba.width);
    uint32_t band = 0;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
    if (band == 0 || band > uint32_t(height))
        band = uint32_t(height);

    for (int y = 0; y < height; y += int(band)) {
        const int rows = qMin(int(band), height - y);
        rgba.row_offset = y;
        rgba.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba, reinterpret_cast<uint32_t *>(image.scanLine(y)),
                              uint32_t(width), uint32_t(rows))) {
            if (y == 0)
                return ctx.fail(QStringLiteral("The TIFF data is damaged (%1).")
                                    .arg(QString::fromLatin1(messages.error)));
            ctx.setTruncated();
            for (int r = y; r < height; ++r)
                std::memset(image.scanLine(r), 0, size_t(image.bytesPerLine()));
            break;
        }
        if (!ctx.advance(y + rows, height))
            return {};
    }
    image.convertTo(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return ApplyExifOrientation(std::move(image), orientation);
}
