// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF pictures through libtiff: the first page, in any photometric interpretation and
// compression the library reads (LZW, PackBits, Deflate, JPEG, CCITT, ...), 1 to 16 bits.
#include "display/codec/Decoders.h"

#include <QIODevice>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include <tiffio.h>

#include "display/codec/Exif.h"
#include "display/codec/TiffDevice.h"
#include "display/codec/TiffSamples.h"

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

namespace {

// The picture through libtiff's RGBA interface, a strip (or a row of tiles) at a time so
// that progress can be told and the load stopped. rowsDone tells how far it came.
QImage decodeRgba(TIFF *tif, DecodeContext &ctx, uint16_t orientation, int *rowsDone)
{
    *rowsDone = 0;
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
    rgba.req_orientation = orientation;

    const bool alpha = rgba.alpha != 0;
    QImage image =
        ctx.allocate(int(rgba.width), int(rgba.height),
                     alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888);
    if (image.isNull())
        return image;
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
            for (int r = y; r < height; ++r)
                std::memset(image.scanLine(r), 0, size_t(image.bytesPerLine()));
            break;
        }
        *rowsDone = y + rows;
        if (!ctx.advance(y + rows, height))
            return {};
    }
    image.convertTo(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return image;
}

// Samples of other depths or kinds than 1 to 16 unsigned bits are not the RGBA
// interface's to read.
bool needsSamples(TIFF *tif)
{
    uint16_t bits = 1, format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    const bool plain = format == SAMPLEFORMAT_UINT
                       && (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16);
    return !plain && TiffSamplesReadable(tif);
}

// Where a smaller copy of the first page is stored: a page of the main chain, or one of
// the first page's sub-images.
struct Reduced
{
    tdir_t page = 0;
    toff_t subImage = 0;
    QSize size;
};

QSize sizeOf(TIFF *tif)
{
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    constexpr uint32_t Most = std::numeric_limits<int>::max();
    if (width == 0 || height == 0 || width > Most || height > Most)
        return {};
    return {int(width), int(height)};
}

// Pages past this many are not searched for a reduced copy.
constexpr int MostPagesSearched = 64;

// The smallest reduced-resolution copy of the first page (SubfileType 1, the same shape)
// that still covers what the display needs, or none. The first page stays current.
std::optional<Reduced> findReduced(TIFF *tif, const DecodeContext &ctx, QSize full, bool turned)
{
    const QSize shown = turned ? full.transposed() : full;
    const QSize needed = ctx.coverMode() == Qt::KeepAspectRatio
                             ? shown.scaled(ctx.coverSize(), Qt::KeepAspectRatio)
                             : ctx.coverSize();
    std::optional<Reduced> best;
    const auto consider = [&](Reduced candidate) {
        uint32_t type = 0;
        TIFFGetFieldDefaulted(tif, TIFFTAG_SUBFILETYPE, &type);
        candidate.size = sizeOf(tif);
        const QSize size = turned ? candidate.size.transposed() : candidate.size;
        const qint64 skew =
            qAbs(qint64(size.width()) * full.height() - qint64(size.height()) * full.width());
        const bool sameShape = skew <= qint64(qMax(full.width(), full.height())) * 2;
        if ((type & FILETYPE_REDUCEDIMAGE) && !size.isEmpty() && sameShape
            && size.width() < shown.width() && size.width() >= needed.width()
            && size.height() >= needed.height()
            && (!best || size.width() < (turned ? best->size.height() : best->size.width())))
            best = candidate;
    };
    std::vector<toff_t> subImages;
    uint16_t count = 0;
    toff_t *offsets = nullptr;
    if (TIFFGetField(tif, TIFFTAG_SUBIFD, &count, &offsets) && offsets)
        subImages.assign(offsets, offsets + qMin<int>(count, MostPagesSearched));
    for (const toff_t offset : subImages)
        if (TIFFSetSubDirectory(tif, offset))
            consider({0, offset, {}});
    for (int page = 1; page < MostPagesSearched && TIFFSetDirectory(tif, tdir_t(page)); ++page)
        consider({tdir_t(page), 0, {}});
    TIFFSetDirectory(tif, 0);
    return best;
}

// Makes the reduced copy current.
bool openReduced(TIFF *tif, const Reduced &reduced)
{
    return reduced.subImage ? TIFFSetSubDirectory(tif, reduced.subImage)
                            : TIFFSetDirectory(tif, reduced.page);
}

// The current page, by whichever reader takes it; rowsDone tells how far it came.
QImage decodePage(TIFF *tif, DecodeContext &ctx, uint16_t orientation, int *rowsDone)
{
    if (needsSamples(tif))
        return DecodeTiffSamples(tif, ctx, rowsDone);
    QImage image = decodeRgba(tif, ctx, orientation, rowsDone);
    // Some layouts the RGBA interface refuses at once are plain grey or RGB samples.
    if (*rowsDone == 0 && !ctx.stopped() && TiffSamplesReadable(tif)) {
        DecodeContext retry = ctx;
        int retryRows = 0;
        QImage second = DecodeTiffSamples(tif, retry, &retryRows);
        if (retryRows > 0 || retry.stopped()) {
            ctx = retry;
            *rowsDone = retryRows;
            return second;
        }
    }
    return image;
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

    // Rows come as stored; the orientation is applied afterwards like a JPEG's, which
    // also covers the rotated orientations the library leaves alone.
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (orientation < ORIENTATION_TOPLEFT || orientation > ORIENTATION_LEFTBOT)
        orientation = ORIENTATION_TOPLEFT;

    // A smaller copy large enough for the display is read first; the page itself when
    // that copy cannot be read.
    const QSize full = sizeOf(tif);
    const bool turned = orientation >= ORIENTATION_LEFTTOP;
    int rowsDone = 0;
    QImage image;
    if (!ctx.coverSize().isEmpty() && !full.isEmpty()) {
        const std::optional<Reduced> reduced = findReduced(tif, ctx, full, turned);
        if (reduced && openReduced(tif, *reduced)) {
            DecodeContext first = ctx;
            image = decodePage(tif, first, orientation, &rowsDone);
            if (rowsDone == reduced->size.height() || first.stopped()) {
                ctx = first;
                ctx.setFullSize(turned ? full.transposed() : full);
            } else {
                image = {};
                rowsDone = 0;
            }
        }
        TIFFSetDirectory(tif, 0);
    }
    if (image.isNull() && !ctx.stopped())
        image = decodePage(tif, ctx, orientation, &rowsDone);
    if (image.isNull() || ctx.stopped())
        return {};
    if (rowsDone == 0)
        return ctx.fail(QStringLiteral("The TIFF data is damaged (%1).")
                            .arg(QString::fromLatin1(messages.error)));
    if (rowsDone < image.height())
        ctx.setTruncated();

    uint32_t iccBytes = 0;
    void *icc = nullptr;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccBytes, &icc) && icc && iccBytes > 0
        && iccBytes < (1u << 24))
        ctx.setColorProfile(QByteArray(static_cast<const char *>(icc), qsizetype(iccBytes)));
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
    return ApplyExifOrientation(std::move(image), orientation);
}
