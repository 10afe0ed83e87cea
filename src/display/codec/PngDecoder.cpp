// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PNG pictures through libpng: every colour type and bit depth (16 bits scaled to 8),
// transparency, interlacing.
#include "display/codec/Decoders.h"

#include <QIODevice>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>

#include "display/codec/ColorProfile.h"

namespace {

// Everything libpng's callbacks reach; errors leave its calls by longjmp, so the frames
// that call it hold nothing that needs destroying.
struct PngState
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    QIODevice *device = nullptr;
    bool ended = false; // the data ran out, as opposed to being damaged
    char message[256] = {};
    QByteArray icc; // the colour profile the file carries or describes
};

void readData(png_structp png, png_bytep data, size_t length)
{
    auto *st = static_cast<PngState *>(png_get_io_ptr(png));
    if (st->device->read(reinterpret_cast<char *>(data), qint64(length)) != qint64(length)) {
        st->ended = true;
        png_error(png, "the data ends early");
    }
}

void onError(png_structp png, png_const_charp message)
{
    auto *st = static_cast<PngState *>(png_get_error_ptr(png));
    std::snprintf(st->message, sizeof st->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// The embedded profile; else sRGB where the file says so; else one made from its gamma
// and chromaticities when it gives both.
QByteArray colourProfileOf(PngState &st)
{
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(st.png, st.info, &name, &compression, &profile, &length) && profile
        && length > 0)
        return QByteArray(reinterpret_cast<const char *>(profile), qsizetype(length));
    if (png_get_valid(st.png, st.info, PNG_INFO_sRGB))
        return SrgbProfile();
    double gamma = 0;
    double white[2], red[2], green[2], blue[2];
    if (png_get_gAMA(st.png, st.info, &gamma)
        && png_get_cHRM(st.png, st.info, &white[0], &white[1], &red[0], &red[1], &green[0],
                        &green[1], &blue[0], &blue[1]))
        return ProfileFromChromaticities(gamma, white, red, green, blue);
    return {};
}

// Reads the header and sets the transformations to 8-bit BGRA (or BGRX) rows.
bool readHeader(PngState &st, int *passes, bool *alpha)
{
    if (setjmp(png_jmpbuf(st.png)))
        return false;
    png_set_read_fn(st.png, &st, readData);
    png_set_user_limits(st.png, 1u << 24, 1u << 24);
    // Small reads lose little at the point where a cut-short file ends.
    png_set_compression_buffer_size(st.png, 256);
    png_read_info(st.png, st.info);
    st.icc = colourProfileOf(st);
    const int colorType = png_get_color_type(st.png, st.info);
    *alpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(st.png, st.info, PNG_INFO_tRNS);
    png_set_expand(st.png);
    if (png_get_bit_depth(st.png, st.info) == 16)
        png_set_scale_16(st.png);
    if (!(colorType & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(st.png);
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(st.png);
        if (!*alpha)
            png_set_filler(st.png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(st.png);
        if (!*alpha)
            png_set_filler(st.png, 0xFF, PNG_FILLER_BEFORE);
    }
    *passes = png_set_interlace_handling(st.png);
    png_read_update_info(st.png, st.info);
    return true;
}

// Returns false on a damaged stream or a stop; rowsRead counts finished rows of the
// last pass reached.
bool readRows(PngState &st, QImage *image, int passes, DecodeContext *ctx, int *rowsRead,
              bool *stopped)
{
    if (setjmp(png_jmpbuf(st.png)))
        return false;
    const int height = image->height();
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            png_read_row(st.png, image->scanLine(y), nullptr);
            *rowsRead = pass * height + y + 1;
            if (!ctx->advance(*rowsRead, qint64(passes) * height)) {
                *stopped = true;
                return false;
            }
        }
    }
    return true;
}

} // namespace

QImage DecodePng(QIODevice &in, DecodeContext &ctx)
{
    PngState st;
    st.device = &in;
    st.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &st, onError, onWarning);
    if (!st.png)
        return ctx.fail(QStringLiteral("Not enough memory to read a PNG file."));
    st.info = png_create_info_struct(st.png);
    struct Destroy
    {
        PngState &st;
        ~Destroy() { png_destroy_read_struct(&st.png, st.info ? &st.info : nullptr, nullptr); }
    } destroy{st};
    if (!st.info)
        return ctx.fail(QStringLiteral("Not enough memory to read a PNG file."));

    int passes = 1;
    bool alpha = false;
    if (!readHeader(st, &passes, &alpha))
        return ctx.fail(QStringLiteral("This is not a readable PNG file (%1).")
                            .arg(QString::fromLatin1(st.message)));
    ctx.setColorProfile(st.icc);
    const png_uint_32 width = png_get_image_width(st.png, st.info);
    const png_uint_32 height = png_get_image_height(st.png, st.info);
    QImage image =
        ctx.allocate(int(width), int(height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    if (png_get_rowbytes(st.png, st.info) != size_t(width) * 4)
        return ctx.fail(QStringLiteral("The PNG file has an unexpected row size."));
    png_uint_32 xRes = 0, yRes = 0;
    int unit = 0;
    if (png_get_pHYs(st.png, st.info, &xRes, &yRes, &unit) && unit == PNG_RESOLUTION_METER
        && xRes > 0 && yRes > 0 && xRes < 0x7FFFFFFF && yRes < 0x7FFFFFFF) {
        image.setDotsPerMeterX(int(xRes));
        image.setDotsPerMeterY(int(yRes));
    }
    // Later passes fill in earlier rows, so rows start out clear.
    if (passes > 1)
        image.fill(0);

    int rowsRead = 0;
    bool stopped = false;
    if (!readRows(st, &image, passes, &ctx, &rowsRead, &stopped)) {
        if (stopped)
            return {};
        // A file cut short shows what arrived; damaged data is refused.
        if (rowsRead == 0 || !st.ended)
            return ctx.fail(QStringLiteral("The PNG data is damaged (%1).")
                                .arg(QString::fromLatin1(st.message)));
        ctx.setTruncated();
        if (passes == 1) {
            for (int y = rowsRead; y < image.height(); ++y)
                std::memset(image.scanLine(y), 0, size_t(image.bytesPerLine()));
        }
    }
    return image;
}
