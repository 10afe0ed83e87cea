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
#include "MallocCounter.h"
#include "display/codec/Codec.h"

namespace {

constexpr int Runs = 5;

void ratio(const char *name, double ours, double reference)
{
    std::printf("ratio %s %.3f\n", name, ours / reference);
}

void value(const char *name, double v, const char *unit)
{
    std::printf("value %s %.3f%s%s\n", name, v, *unit ? " " : "", unit);
}

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

double decodeSeconds(bool (*reader)(const QString &, int, int, QImage &, const TProgressCallback &),
                     const QString &path, QImage *out = nullptr)
{
    return BestSeconds(Runs, [&] {
        QImage image;
        if (!reader(path, 24, 0, image, {}))
            std::fprintf(stderr, "korvid-bench: cannot read %s: %s\n", qPrintable(path),
                         qPrintable(CodecErrorString()));
        if (out)
            *out = image;
    });
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
    jpegWriter.write(picture);
    picture.copy(0, 0, 3000, 2000).save(png, "png");
    picture.save(bmp, "bmp");
    WritePcx24(picture, pcx);

    // JPEG against djpeg decoding the same file, and against Qt's reader.
    QImage decoded;
    const double ours = decodeSeconds(ReadJpgFile, jpeg, &decoded);
    const QString djpeg = QStandardPaths::findExecutable("djpeg");
    if (djpeg.isEmpty()) {
        std::fprintf(stderr,
                     "korvid-bench: djpeg is missing (apt-get install libjpeg-turbo-progs)\n");
    } else {
        const double reference = BestSeconds(Runs, [&] {
            QProcess::execute(djpeg, {"-outfile", "/dev/null", jpeg});
        });
        ratio("jpeg_vs_djpeg", ours, reference);
    }
    const double qt = BestSeconds(Runs, [&] { QImageReader(jpeg).read(); });
    ratio("jpeg_vs_qimagereader", ours, qt);

    // Peak memory of one load against the size of the picture it gives.
    {
        QImage image;
        decoded = QImage();
        const std::size_t before = HeapInUse();
        ResetHeapPeak();
        ReadJpgFile(jpeg, 24, 0, image, {});
        const double peak = double(HeapPeak() - before);
        value("load_peak_over_decoded", peak / double(image.sizeInBytes()), "");
    }

    ratio("png_vs_libpng", decodeSeconds(ReadPngFile, png),
          BestSeconds(Runs, [&] { barePngDecode(png.toLocal8Bit().constData()); }));

    const double megabytes = double(picture.sizeInBytes()) / (1024.0 * 1024.0);
    value("bmp_decode", megabytes / decodeSeconds(ReadBmpFile, bmp), "MB/s");
    value("pcx_decode", megabytes / decodeSeconds(ReadPcxFile, pcx), "MB/s");
}
