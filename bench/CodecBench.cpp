// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture loading against the libraries' own tools and Qt's reader, in one run.
#include "CodecBench.h"

#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <png.h>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "MallocCounter.h"
#include "display/codec/Codec.h"

namespace {

constexpr int Runs = 5;

// A plain libpng decode to 8-bit RGBX rows: what any program using the library does.
bool barePngDecode(const char *path)
{
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> pixels;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    pixels.resize(rowBytes * height);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, pixels.data() + y * rowBytes, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);

// Best time of a decode; the reason in *error, and a negative time, when a decode failed.
double decodeSeconds(Reader reader, const QString &path, QString *error)
{
    bool ok = true;
    const double seconds = BestSeconds(Runs, [&] {
        QImage image;
        if (!reader(path, 24, 0, image, {}) && ok) {
            ok = false;
            *error = QStringLiteral("cannot read %1: %2").arg(path, CodecErrorString());
        }
    });
    return ok ? seconds : -1;
}

// A decode rate in megabytes of picture per second, or why there is none.
void reportRate(const char *name, Reader reader, const QString &path, double megabytes)
{
    QString error;
    const double seconds = decodeSeconds(reader, path, &error);
    if (seconds < 0)
        ReportMissing(name, error);
    else
        ReportValue(name, megabytes / seconds, 3, "MB/s");
}

} // namespace

void RunCodecBenchmarks()
{
    QTemporaryDir dir;
    const QImage picture = BenchPicture(6000, 4000); // 24 megapixels
    const QString jpeg = dir.filePath("large.jpg");
    const QString png = dir.filePath("large.png");
    const QString bmp = dir.filePath("large.bmp");
    const QString pcx = dir.filePath("large.pcx");
    QImageWriter jpegWriter(jpeg, "jpeg");
    jpegWriter.setQuality(90);
    if (!dir.isValid() || !jpegWriter.write(picture)) {
        for (const char *name : {"jpeg_vs_djpeg", "jpeg_vs_qimagereader", "load_peak_over_decoded"})
            ReportMissing(name, QStringLiteral("cannot write the JPEG"));
    } else {
        // JPEG against djpeg decoding the same file, and against Qt's reader.
        QString error;
        const double ours = decodeSeconds(ReadJpgFile, jpeg, &error);
        const QString djpeg = QStandardPaths::findExecutable("djpeg");
        if (ours < 0) {
            ReportMissing("jpeg_vs_djpeg", error);
            ReportMissing("jpeg_vs_qimagereader", error);
        } else {
            if (djpeg.isEmpty())
                ReportMissing("jpeg_vs_djpeg", QStringLiteral("djpeg is missing (apt-get install "
                                                              "libjpeg-turbo-progs)"));
            else
                ReportRatio("jpeg_vs_djpeg",
                            ours / BestSeconds(Runs, [&] {
                                QProcess::execute(djpeg, {"-outfile", "/dev/null", jpeg});
                            }));
            ReportRatio("jpeg_vs_qimagereader",
                        ours / BestSeconds(Runs, [&] { QImageReader(jpeg).read(); }));
        }
        // Peak memory of one load against the size of the picture it gives.
        QImage image;
        const std::size_t before = HeapInUse();
        ResetHeapPeak();
        if (!ReadJpgFile(jpeg, 24, 0, image, {}))
            ReportMissing("load_peak_over_decoded",
                          QStringLiteral("cannot read %1: %2").arg(jpeg, CodecErrorString()));
        else
            ReportValue("load_peak_over_decoded",
                        double(HeapPeak() - before) / double(image.sizeInBytes()), 3);
    }
    if (!picture.copy(0, 0, 3000, 2000).save(png, "png")) {
        ReportMissing("png_vs_libpng", QStringLiteral("cannot write the PNG"));
    } else {
        QString error;
        const double ours = decodeSeconds(ReadPngFile, png, &error);
        bool bare = true;
        const double reference =
            BestSeconds(Runs, [&] { bare = barePngDecode(png.toLocal8Bit().constData()) && bare; });
        if (ours < 0)
            ReportMissing("png_vs_libpng", error);
        else if (!bare)
            ReportMissing("png_vs_libpng", QStringLiteral("libpng cannot read %1").arg(png));
        else
            ReportRatio("png_vs_libpng", ours / reference);
    }
    const double megabytes = double(picture.sizeInBytes()) / (1024.0 * 1024.0);
    if (!picture.save(bmp, "bmp"))
        ReportMissing("bmp_decode", QStringLiteral("cannot write the BMP"));
    else
        reportRate("bmp_decode", ReadBmpFile, bmp, megabytes);
    if (!WritePcx24(picture, pcx))
        ReportMissing("pcx_decode", QStringLiteral("cannot write the PCX"));
    else
        reportRate("pcx_decode", ReadPcxFile, pcx, megabytes);
}
