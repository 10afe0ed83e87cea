// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Small files whose headers claim huge pictures, in every format and bit depth: each is
// refused with the size message before its picture is allocated, in a child process that
// may not take more than 1.5 GiB of address space while the decode limit is 1 GiB.
#include <QBuffer>
#include <QDataStream>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tiffio.h>
#include <unistd.h>
#include <zlib.h>

#include "common/TestDir.h"
#include "display/codec/Codec.h"
#include "display/codec/Decoders.h"

namespace {

using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);

constexpr quint32 Side = 20000;

QByteArray littleEndian(const std::function<void(QDataStream &)> &write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    write(out);
    return bytes;
}

QByteArray bmp(quint32 width, quint32 height, quint16 bits, quint32 compression)
{
    const quint32 colours = bits <= 8 ? (1u << bits) : 0;
    const quint32 offset = 14 + 40 + colours * 4 + (compression == 3 ? 12 : 0);
    return littleEndian([&](QDataStream &out) {
        out.writeRawData("BM", 2);
        out << quint32(offset + 64) << quint32(0) << quint32(offset);
        out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << bits << compression
            << quint32(64) << quint32(2835) << quint32(2835) << colours << quint32(0);
        if (compression == 3)
            out << quint32(0xF800) << quint32(0x07E0) << quint32(0x001F);
        for (quint32 i = 0; i < colours; ++i)
            out << quint32(i * 0x010101u);
        for (int i = 0; i < 64; ++i)
            out << quint8(i % 2 ? 0 : 1);
    });
}

QByteArray pcx(quint8 bits, quint8 planes)
{
    const quint16 line = quint16(((Side * bits + 15) / 16) * 2);
    return littleEndian([&](QDataStream &out) {
        out << quint8(10) << quint8(5) << quint8(1) << bits << quint16(0) << quint16(0)
            << quint16(Side - 1) << quint16(Side - 1) << quint16(72) << quint16(72);
        for (int i = 0; i < 48; ++i)
            out << quint8(i * 5);
        out << quint8(0) << planes << line << quint16(1) << quint16(0) << quint16(0);
        for (int i = 0; i < 54; ++i)
            out << quint8(0);
        for (int i = 0; i < 200; ++i)
            out << quint8(0xC1) << quint8(i);
        if (bits == 8 && planes == 1) {
            out << quint8(12);
            for (int i = 0; i < 768; ++i)
                out << quint8(i / 3);
        }
    });
}

QByteArray gif()
{
    return littleEndian([](QDataStream &out) {
        out.writeRawData("GIF89a", 6);
        out << quint16(Side) << quint16(Side) << quint8(0x80) << quint8(0) << quint8(0);
        out << quint8(0) << quint8(0) << quint8(0) << quint8(255) << quint8(255) << quint8(255);
        out << quint8(0x2C) << quint16(0) << quint16(0) << quint16(Side) << quint16(Side)
            << quint8(0) << quint8(2) << quint8(2) << quint8(0x4C) << quint8(0x01) << quint8(0)
            << quint8(0x3B);
    });
}

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    QByteArray chunk;
    QDataStream out(&chunk, QIODevice::WriteOnly);
    out << quint32(data.size());
    const QByteArray body = QByteArray(type, 4) + data;
    out.writeRawData(body.constData(), int(body.size()));
    out << quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
    return chunk;
}

QByteArray png(quint8 depth, quint8 colourType)
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out << quint32(Side) << quint32(Side) << depth << colourType << quint8(0) << quint8(0)
        << quint8(0);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += pngChunk("IHDR", header);
    if (colourType == 3)
        png += pngChunk("PLTE", QByteArray("\0\0\0\xff\xff\xff", 6));
    png += pngChunk("IDAT", qCompress(QByteArray(64, '\0')).mid(4));
    png += pngChunk("IEND", {});
    return png;
}

// A TIFF of one written row, strip or tile of a picture its header says is huge.
QByteArray hugeTiff(const QString &path, int bits, int samples, bool tiled, bool planar)
{
    TIFF *out = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!out)
        return {};
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, Side);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, Side);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(out, TIFFTAG_PLANARCONFIG, planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    std::vector<uint16_t> map(size_t(1) << bits, 0);
    if (samples == 1 && bits <= 8) {
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(out, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
    } else {
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    std::vector<uint8_t> buffer(size_t(Side) * 8, 0);
    if (tiled) {
        TIFFSetField(out, TIFFTAG_TILEWIDTH, 256);
        TIFFSetField(out, TIFFTAG_TILELENGTH, 256);
        buffer.assign(size_t(TIFFTileSize(out)), 0);
        TIFFWriteTile(out, buffer.data(), 0, 0, 0, 0);
    } else {
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 1);
        TIFFWriteScanline(out, buffer.data(), 0, 0);
    }
    TIFFClose(out);
    return TestDir::readFile(path);
}

QByteArray ico(const QByteArray &image)
{
    return littleEndian([&](QDataStream &out) {
        out << quint16(0) << quint16(1) << quint16(1);
        out << quint8(0) << quint8(0) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(image.size()) << quint32(22);
        out.writeRawData(image.constData(), int(image.size()));
    });
}

QImage decodeIcoFile(const QString &path, QString &error)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    DecodeContext ctx;
    QImage image = DecodeIco(file, ctx);
    error = ctx.error();
    return image;
}

struct Outcome
{
    bool exited = false;
    int status = 0;
    QString error;
    long peakKiB = 0;
};

// Decodes path in a child process held to 1.5 GiB of address space.
Outcome decodeInChild(const QString &path, Reader reader)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const rlimit space{rlim_t(3) << 29, rlim_t(3) << 29};
        setrlimit(RLIMIT_AS, &space);
        SetDecodeLimit(qint64(1) << 30);
        QImage image;
        QString error;
        bool ok = false;
        if (reader) {
            ok = reader(path, 24, 1, image, {});
            error = CodecErrorString();
        } else {
            ok = !decodeIcoFile(path, error).isNull();
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const QByteArray report =
            QByteArray::number(qlonglong(usage.ru_maxrss)) + '\n' + error.toUtf8();
        (void)!write(fds[1], report.constData(), size_t(report.size()));
        _exit(ok ? 2 : 0);
    }
    close(fds[1]);
    QByteArray report;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, got);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    Outcome outcome;
    outcome.exited = WIFEXITED(status);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status);
    outcome.peakKiB = report.left(report.indexOf('\n')).toLong();
    outcome.error = QString::fromUtf8(report.mid(report.indexOf('\n') + 1));
    return outcome;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void refusedBeforeAllocating_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        for (const quint16 bits : {1, 4, 8, 16, 24, 32})
            QTest::addRow("BMP %d bits", bits) << QStringLiteral("bits%1.bmp").arg(bits)
                                               << bmp(Side, Side, bits, bits == 16 ? 3 : 0);
        QTest::newRow("BMP 8 bits, 131168 x 4096") << "wide.bmp" << bmp(131168, 4096, 8, 0);
        QTest::newRow("BMP RLE8") << "rle8.bmp" << bmp(Side, Side, 8, 1);
        QTest::newRow("BMP RLE4") << "rle4.bmp" << bmp(Side, Side, 4, 2);
        QTest::newRow("PCX 1 bit") << "one.pcx" << pcx(1, 1);
        QTest::newRow("PCX 2 bits") << "two.pcx" << pcx(2, 1);
        QTest::newRow("PCX 4 planes") << "four.pcx" << pcx(1, 4);
        QTest::newRow("PCX 8 bits") << "eight.pcx" << pcx(8, 1);
        QTest::newRow("PCX 24 bits") << "rgb.pcx" << pcx(8, 3);
        QTest::newRow("GIF") << "huge.gif" << gif();
        QTest::newRow("PNG palette") << "palette.png" << png(8, 3);
        QTest::newRow("PNG 16 bits") << "deep.png" << png(16, 2);
        QTest::newRow("ICO with a PNG") << "png.ico" << ico(png(8, 6));
        const QByteArray dib = bmp(Side, Side * 2, 32, 0).mid(14);
        QTest::newRow("ICO with a bitmap") << "bitmap.ico" << ico(dib);
    }

    void refusedBeforeAllocating()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        TestDir dir;
        const QString path = dir.write(name, bytes);
        check(path, name);
    }

    void tiffRefusedBeforeAllocating_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("samples");
        QTest::addColumn<bool>("tiled");
        QTest::addColumn<bool>("planar");
        QTest::newRow("strips, 1-bit palette") << 1 << 1 << false << false;
        QTest::newRow("strips, 8-bit palette") << 8 << 1 << false << false;
        QTest::newRow("strips, RGB") << 8 << 3 << false << false;
        QTest::newRow("tiles, 8-bit palette") << 8 << 1 << true << false;
        QTest::newRow("tiles, RGB") << 8 << 3 << true << false;
        QTest::newRow("planar RGB") << 8 << 3 << false << true;
    }

    void tiffRefusedBeforeAllocating()
    {
        QFETCH(int, bits);
        QFETCH(int, samples);
        QFETCH(bool, tiled);
        QFETCH(bool, planar);
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.tif"));
        QVERIFY(!hugeTiff(path, bits, samples, tiled, planar).isEmpty());
        QVERIFY(QFileInfo(path).size() < 1000000);
        check(path, QStringLiteral("huge.tif"));
    }

private:
    static void check(const QString &path, const QString &name)
    {
        const QString suffix = QFileInfo(name).suffix();
        Reader reader = nullptr;
        if (suffix == QLatin1String("bmp"))
            reader = ReadBmpFile;
        else if (suffix == QLatin1String("pcx"))
            reader = ReadPcxFile;
        else if (suffix == QLatin1String("gif"))
            reader = ReadGifFile;
        else if (suffix == QLatin1String("png"))
            reader = ReadPngFile;
        else if (suffix == QLatin1String("tif"))
            reader = ReadTifFile;
        const Outcome outcome = decodeInChild(path, reader);
        QVERIFY2(outcome.exited,
                 qPrintable(QStringLiteral("the child died of signal %1").arg(outcome.status)));
        QVERIFY2(outcome.status == 0, "the picture was shown");
        QVERIFY2(outcome.error.contains(QLatin1String("too large")), qPrintable(outcome.error));
        // Refused before the picture was allocated: nothing near its size was touched.
        QVERIFY2(outcome.peakKiB < 64 * 1024,
                 qPrintable(QStringLiteral("peak %1 MiB").arg(outcome.peakKiB / 1024)));
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
