// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG pictures through libjpeg-turbo: baseline and progressive, grey, YCbCr, RGB, CMYK
// and YCCK, with the EXIF orientation applied.
#include "display/codec/Decoders.h"

#include <QIODevice>
#include <QTransform>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it builds on.
#include <jerror.h>

#include "display/codec/ColorProfile.h"
#include "display/codec/Exif.h"
#include "display/codec/RowsConverter.h"

namespace {

// More scans than any real file has; hostile progressive files use them to stall a decoder.
constexpr int MaxScans = 500;

struct SourceManager
{
    jpeg_source_mgr pub;
    QIODevice *device;
    bool ended;
    JOCTET buffer[64 * 1024];
};

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct ProgressManager
{
    jpeg_progress_mgr pub;
    DecodeContext *ctx;
    bool stopped;
};

// Everything the library touches; errors leave its calls by longjmp, so the frames that
// call it hold nothing that needs destroying.
struct JpegState
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    SourceManager src;
    ProgressManager progress;
    bool created;
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo)
{
    auto *src = reinterpret_cast<SourceManager *>(cinfo->src);
    qint64 got = src->device->read(reinterpret_cast<char *>(src->buffer), sizeof src->buffer);
    if (got <= 0) {
        // Pretend the picture ends here, so what was decoded can be shown.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        got = 2;
        src->ended = true;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = size_t(got);
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count)
{
    auto *src = reinterpret_cast<SourceManager *>(cinfo->src);
    if (count <= 0)
        return;
    while (size_t(count) > src->pub.bytes_in_buffer) {
        count -= long(src->pub.bytes_in_buffer);
        fillInputBuffer(cinfo);
        if (src->ended)
            return;
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= size_t(count);
}

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr, int) {}
void outputMessage(j_common_ptr) {}

void progressMonitor(j_common_ptr cinfo)
{
    auto *progress = reinterpret_cast<ProgressManager *>(cinfo->progress);
    const auto *dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > MaxScans) {
        auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "too many scans");
        std::longjmp(err->jump, 1);
    }
    const jpeg_progress_mgr &p = progress->pub;
    const qint64 passes = qMax(1, p.total_passes);
    const qint64 within = p.pass_limit > 0 ? qint64(p.pass_counter) * 1000 / p.pass_limit : 0;
    if (!progress->ctx->advance(p.completed_passes * 1000 + within, passes * 1000)) {
        progress->stopped = true;
        std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
    }
}

bool readHeader(JpegState &st)
{
    if (setjmp(st.err.jump))
        return false;
    jpeg_create_decompress(&st.cinfo);
    st.created = true;
    st.cinfo.src = &st.src.pub;
    st.cinfo.progress = &st.progress.pub;
    jpeg_save_markers(&st.cinfo, JPEG_APP0 + 1, 0xFFFF);
    // The colour profile, in one or more ICC_PROFILE chunks.
    jpeg_save_markers(&st.cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&st.cinfo, TRUE);
    return true;
}

// The file's ICC profile; empty when it has none or its chunks do not fit together.
QByteArray readIcc(JpegState &st)
{
    if (setjmp(st.err.jump))
        return {};
    JOCTET *data = nullptr;
    unsigned int length = 0;
    if (!jpeg_read_icc_profile(&st.cinfo, &data, &length) || !data)
        return {};
    QByteArray icc(reinterpret_cast<const char *>(data), qsizetype(length));
    std::free(data);
    return icc;
}

// Which rows and columns of the file's picture to decode; all of them unless limited.
struct Rows
{
    QRect wanted;      // in the file's own orientation; empty for the whole picture
    QRect decoded;     // what the library could give: columns widen to whole blocks
    bool told = false; // each row is told to a watch as it is final
    std::unique_ptr<TCmykConverter> cmykProfile;   // CMYK through the file's own profile
    std::unique_ptr<TDisplayConversion> toDisplay; // RGB or grey through it
};

// Decodes the rows into image, which it allocates once the output size is known; CMYK
// rows go through cmykRow first. Colours to convert go through a converter made here.
bool readPixels(JpegState &st, DecodeContext &ctx, QImage *image, std::vector<uchar> *cmykRow,
                int *rowsDone, Rows *rows, std::unique_ptr<TRowsConverter> *converter)
{
    if (setjmp(st.err.jump))
        return false;
    jpeg_decompress_struct &cinfo = st.cinfo;
    jpeg_start_decompress(&cinfo);
    JDIMENSION firstRow = 0;
    JDIMENSION endRow = cinfo.output_height;
    if (!rows->wanted.isEmpty()) {
        JDIMENSION left = JDIMENSION(rows->wanted.left());
        JDIMENSION width = JDIMENSION(rows->wanted.width());
        jpeg_crop_scanline(&cinfo, &left, &width);
        firstRow = JDIMENSION(rows->wanted.top());
        endRow = JDIMENSION(rows->wanted.bottom() + 1);
        rows->decoded = QRect(int(left), int(firstRow), int(width), int(endRow - firstRow));
    }
    *image = ctx.allocate(int(cinfo.output_width), int(endRow - firstRow), QImage::Format_RGB32);
    if (image->isNull())
        return true;
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    if (cmyk)
        cmykRow->resize(size_t(cinfo.output_width) * 4);
    if (rows->toDisplay && !cmyk) {
        TRowsConverter::Told told;
        if (rows->told)
            told = [&ctx](int final) { ctx.rowsFinal(final); };
        *converter =
            std::make_unique<TRowsConverter>(std::move(rows->toDisplay), *image, std::move(told));
    }
    if (firstRow > 0)
        jpeg_skip_scanlines(&cinfo, firstRow);
    // Adobe writers store CMYK inverted.
    const bool inverted = cinfo.saw_Adobe_marker;
    if (cmyk && !rows->cmykProfile && ctx.colorProfile().size() > 0)
        rows->cmykProfile = TCmykConverter::open(ctx.colorProfile(), inverted);
    while (cinfo.output_scanline < endRow) {
        const int y = int(cinfo.output_scanline - firstRow);
        // CMYK that goes through its profile is converted in place once all is read.
        JSAMPROW row = cmyk && !rows->cmykProfile ? cmykRow->data() : image->scanLine(y);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            break;
        if (cmyk && !rows->cmykProfile) {
            auto *out = reinterpret_cast<QRgb *>(image->scanLine(y));
            const uchar *p = cmykRow->data();
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x, p += 4) {
                int c = p[0], m = p[1], ye = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    ye = 255 - ye;
                    k = 255 - k;
                }
                out[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
            }
        }
        *rowsDone = y + 1;
        if (*converter)
            (*converter)->rowsReady(y + 1);
        else if (rows->told)
            ctx.rowsFinal(y + 1);
    }
    // The rows below a part are not wanted: the rest of the data is left unread.
    if (endRow < cinfo.output_height)
        jpeg_abort_decompress(&cinfo);
    else
        jpeg_finish_decompress(&cinfo);
    return true;
}

int orientationOf(const jpeg_decompress_struct &cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1) {
            const int orientation = ExifOrientation(m->data, m->data_length);
            if (orientation > 0)
                return orientation;
        }
    }
    return 1;
}

// The EXIF turn as a mapping from the file's picture (size full) to the picture as shown.
QTransform turnOf(int orientation, QSize full)
{
    const qreal w = full.width();
    const qreal h = full.height();
    switch (orientation) {
    case 2:
        return QTransform(-1, 0, 0, 1, w, 0);
    case 3:
        return QTransform(-1, 0, 0, -1, w, h);
    case 4:
        return QTransform(1, 0, 0, -1, 0, h);
    case 5:
        return QTransform(0, 1, 1, 0, 0, 0);
    case 6:
        return QTransform(0, 1, -1, 0, h, 0);
    case 7:
        return QTransform(0, -1, -1, 0, h, w);
    case 8:
        return QTransform(0, -1, 1, 0, 0, w);
    default:
        return {};
    }
}

// The output size: the smallest of the library's M/8 scalings that still covers the
// context's cover size (which is for the picture as shown, after the EXIF turn), else the
// full size. Sets the scaling in cinfo.
QSize chooseScale(jpeg_decompress_struct &cinfo, DecodeContext &ctx, int orientation)
{
    const bool turned = orientation >= 5;
    const QSize full(int(cinfo.image_width), int(cinfo.image_height));
    const QSize shownFull = turned ? full.transposed() : full;
    QSize cover = ctx.coverSize();
    if (cover.isEmpty())
        return full;
    if (ctx.coverMode() != Qt::IgnoreAspectRatio)
        cover = shownFull.scaled(cover, Qt::KeepAspectRatio);
    if (turned)
        cover.transpose();
    if (cover.width() >= full.width() || cover.height() >= full.height())
        return full;
    for (unsigned eighths = 1; eighths < 8; ++eighths) {
        cinfo.scale_num = eighths;
        cinfo.scale_denom = 8;
        jpeg_calc_output_dimensions(&cinfo);
        if (int(cinfo.output_width) >= cover.width()
            && int(cinfo.output_height) >= cover.height()) {
            ctx.setFullSize(shownFull);
            return QSize(int(cinfo.output_width), int(cinfo.output_height));
        }
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    return full;
}

// The rows and columns of the file's picture that hold the context's centred region of
// the picture as shown; empty when the whole picture is wanted.
QRect wantedRows(const jpeg_decompress_struct &cinfo, const DecodeContext &ctx, int orientation)
{
    const QSize full(int(cinfo.image_width), int(cinfo.image_height));
    const QSize shownFull = orientation >= 5 ? full.transposed() : full;
    const QSize region = ctx.centredRegion().boundedTo(shownFull);
    if (region.isEmpty() || region == shownFull)
        return {};
    const QRect shown(QPoint((shownFull.width() - region.width()) / 2,
                             (shownFull.height() - region.height()) / 2),
                      region);
    return turnOf(orientation, full).inverted().mapRect(QRectF(shown)).toAlignedRect()
           & QRect(QPoint(0, 0), full);
}

} // namespace

QImage DecodeJpeg(QIODevice &in, DecodeContext &ctx)
{
    auto st = std::make_unique<JpegState>();
    st->cinfo.err = jpeg_std_error(&st->err.pub);
    st->err.pub.error_exit = errorExit;
    st->err.pub.emit_message = emitMessage;
    st->err.pub.output_message = outputMessage;
    st->src.pub.init_source = initSource;
    st->src.pub.fill_input_buffer = fillInputBuffer;
    st->src.pub.skip_input_data = skipInputData;
    st->src.pub.resync_to_restart = jpeg_resync_to_restart;
    st->src.pub.term_source = termSource;
    st->src.device = &in;
    st->progress.pub.progress_monitor = progressMonitor;
    st->progress.ctx = &ctx;

    struct Destroy
    {
        JpegState &st;
        ~Destroy()
        {
            if (st.created)
                jpeg_destroy_decompress(&st.cinfo);
        }
    } destroy{*st};

    if (!readHeader(*st))
        return ctx.fail(QStringLiteral("This is not a readable JPEG file (%1).")
                            .arg(QString::fromLatin1(st->err.message)));
    jpeg_decompress_struct &cinfo = st->cinfo;
    // Saved markers live only until the decompression finishes.
    const int orientation = orientationOf(cinfo);
    ctx.setColorProfile(readIcc(*st));
    const bool multiScan = jpeg_has_multiple_scans(&cinfo);
    // Read before decoding: the library's state is not to be trusted after an abort.
    const QSize full(int(cinfo.image_width), int(cinfo.image_height));
    Rows rows;
    const QSize output = chooseScale(cinfo, ctx, orientation);
    const bool scaled = output.width() != int(cinfo.image_width);
    if (!scaled)
        rows.wanted = wantedRows(cinfo, ctx, orientation);
    const QSize kept = rows.wanted.isEmpty() ? output : rows.wanted.size();
    // Colours are converted as the rows arrive.
    rows.toDisplay = TDisplayConversion::prepare(ctx.colorProfile(), QImage::Format_RGB32);
    // A turned picture is only final once turned as a whole; so is a CMYK one converted
    // through its profile.
    rows.told = !scaled && rows.wanted.isEmpty() && orientation == 1
                && (rows.toDisplay || !ProfileChangesColours(ctx.colorProfile()));
    // Progressive files keep every coefficient of the full picture in memory until the
    // last scan, whatever the output size; a scaled output or a part (under four bytes a
    // full pixel) comes on top.
    const int coefficientBytes = multiScan ? 2 * cinfo.num_components : 0;
    if (kept != QSize(int(cinfo.image_width), int(cinfo.image_height))
            ? !ctx.fits(kept.width(), kept.height(), 4)
                  || (multiScan
                      && !ctx.fits(cinfo.image_width, cinfo.image_height, coefficientBytes + 4))
            : !ctx.fits(cinfo.image_width, cinfo.image_height, 4 + coefficientBytes))
        return {};
    cinfo.mem->max_memory_to_use = long(qMin<qint64>(DecodeLimit(), 0x7FFFFFFF));

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else
        cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

    QImage image;
    // Ends before the pixels it converts.
    std::unique_ptr<TRowsConverter> converter;
    std::vector<uchar> cmykRow;
    int rowsDone = 0;
    if (!readPixels(*st, ctx, &image, &cmykRow, &rowsDone, &rows, &converter)) {
        if (st->progress.stopped)
            return {};
        if (rowsDone == 0)
            return ctx.fail(QStringLiteral("The JPEG data is damaged (%1).")
                                .arg(QString::fromLatin1(st->err.message)));
        ctx.setTruncated();
    }
    if (image.isNull())
        return image;
    if (rows.cmykProfile)
        rows.cmykProfile->convert(image, rowsDone);
    if (converter) {
        converter->finish(rowsDone);
        ctx.setColorsConverted();
    }
    if (st->src.ended)
        ctx.setTruncated();
    if (cinfo.density_unit == 1 || cinfo.density_unit == 2) {
        const double perMeter = cinfo.density_unit == 1 ? 1 / 0.0254 : 100.0;
        if (cinfo.X_density > 0 && cinfo.Y_density > 0) {
            image.setDotsPerMeterX(qRound(cinfo.X_density * perMeter));
            image.setDotsPerMeterY(qRound(cinfo.Y_density * perMeter));
        }
    }
    // Rows the data never reached stay black.
    for (int y = rowsDone; y < image.height(); ++y)
        std::memset(image.scanLine(y), 0, size_t(image.bytesPerLine()));
    if (!rows.decoded.isEmpty()) {
        ctx.setFullSize(orientation >= 5 ? full.transposed() : full);
        ctx.setRegionDecoded(turnOf(orientation, full).mapRect(rows.decoded));
    }
    return ApplyExifOrientation(std::move(image), orientation);
}
