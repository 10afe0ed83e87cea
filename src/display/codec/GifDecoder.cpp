// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// GIF pictures through giflib: the first frame on the logical screen, with its
// transparency, plain or interlaced; Qt's reader where giflib gives up on a valid one
// (a code table that fills up and goes on without a clear code, as the format allows).
#include "display/codec/Decoders.h"

#include <QIODevice>
#include <QImageReader>

#include <vector>

#include <gif_lib.h>

namespace {

int readData(GifFileType *gif, GifByteType *buffer, int length)
{
    auto *device = static_cast<QIODevice *>(gif->UserData);
    const qint64 got = device->read(reinterpret_cast<char *>(buffer), length);
    return got > 0 ? int(got) : 0;
}

// Qt's own GIF reader, for the pictures giflib gives up on although the format allows
// them: the first frame on the logical screen, or a null picture. The screen's size is
// held to the limit first.
QImage readWithQt(QIODevice &in, DecodeContext &ctx)
{
    if (in.isSequential() || !in.seek(0))
        return {};
    const QByteArray header = in.peek(10);
    if (header.size() < 10)
        return {};
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    const QSize screen(bytes[6] | bytes[7] << 8, bytes[8] | bytes[9] << 8);
    if (!ctx.fits(screen.width(), screen.height(), 4))
        return {};
    QImageReader reader(&in, "gif");
    const QImage frame = reader.read();
    if (frame.isNull())
        return {};
    return frame.convertToFormat(frame.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

QString gifError(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("error %1").arg(code);
}

QImage decodeWithGiflib(QIODevice &in, DecodeContext &ctx)
{
    int error = 0;
    GifFileType *gif = DGifOpen(&in, readData, &error);
    if (!gif)
        return ctx.fail(
            QStringLiteral("This is not a readable GIF file (%1).").arg(gifError(error)));
    struct Close
    {
        GifFileType *gif;
        ~Close()
        {
            int ignored = 0;
            DGifCloseFile(gif, &ignored);
        }
    } close{gif};

    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return ctx.fail(QStringLiteral("The GIF file holds no readable picture (%1).")
                                .arg(gifError(gif->Error)));
        if (type == TERMINATE_RECORD_TYPE)
            return ctx.fail(QStringLiteral("The GIF file holds no picture."));
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *extension = nullptr;
            if (DGifGetExtension(gif, &code, &extension) == GIF_ERROR)
                return ctx.fail(
                    QStringLiteral("The GIF file is damaged (%1).").arg(gifError(gif->Error)));
            if (code == GRAPHICS_EXT_FUNC_CODE && extension && extension[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(extension[0], extension + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (extension) {
                if (DGifGetExtensionNext(gif, &extension) == GIF_ERROR)
                    return ctx.fail(
                        QStringLiteral("The GIF file is damaged (%1).").arg(gifError(gif->Error)));
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return ctx.fail(
                QStringLiteral("The GIF picture is damaged (%1).").arg(gifError(gif->Error)));
        break;
    }

    const GifImageDesc &frame = gif->Image;
    const ColorMapObject *map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    const int screenWidth = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
    const int screenHeight = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
    if (frame.Width <= 0 || frame.Height <= 0)
        return ctx.fail(QStringLiteral("The GIF picture has no pixels."));

    QList<QRgb> colours(256, qRgb(0, 0, 0));
    if (map && map->Colors) {
        for (int i = 0; i < map->ColorCount && i < 256; ++i)
            colours[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    } else {
        // No colour table at all: show the indexes as shades of grey.
        for (int i = 0; i < 256; ++i)
            colours[i] = qRgb(i, i, i);
    }
    if (transparent >= 0 && transparent < 256)
        colours[transparent] = 0;

    QImage image = ctx.allocate(screenWidth, screenHeight,
                                transparent >= 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // Where the frame does not cover the screen, the screen is clear (or, in a picture
    // without transparency, its background colour).
    const int background = gif->SBackGroundColor;
    image.fill(transparent >= 0 ? QRgb(0)
                                : (map && background < 256 ? colours[background] : qRgb(0, 0, 0)));

    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
    static constexpr int Starts[4] = {0, 4, 2, 1};
    static constexpr int Steps[4] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    int done = 0;
    for (int pass = 0; pass < passes; ++pass) {
        const int first = frame.Interlace ? Starts[pass] : 0;
        const int step = frame.Interlace ? Steps[pass] : 1;
        for (int row = first; row < frame.Height; row += step) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
                if (done == 0)
                    return ctx.fail(QStringLiteral("The GIF picture is damaged (%1).")
                                        .arg(gifError(gif->Error)));
                ctx.setTruncated();
                return image;
            }
            const int y = frame.Top + row;
            if (y >= 0 && y < screenHeight) {
                auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
                for (int x = 0; x < frame.Width; ++x) {
                    const int sx = frame.Left + x;
                    if (sx < screenWidth && !(line[size_t(x)] == transparent))
                        out[sx] = colours[line[size_t(x)]];
                }
            }
            ++done;
            if (!ctx.advance(done, frame.Height))
                return {};
        }
    }
    return image;
}

} // namespace

QImage DecodeGif(QIODevice &in, DecodeContext &ctx)
{
    QImage image = decodeWithGiflib(in, ctx);
    if (!image.isNull() || ctx.stopped() || ctx.tooLarge())
        return image;
    image = readWithQt(in, ctx);
    if (!image.isNull())
        ctx.clearFailure();
    return image;
}
