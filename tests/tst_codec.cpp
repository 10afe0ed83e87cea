// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The codec unit on our own fixtures: every format and variant, progress and stopping,
// the size limit, colour depths, header information, damaged files and the small
// services around the readers.
#include <QBuffer>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QResource>
#include <QTemporaryFile>
#include <QTest>

#include "common/ImageCompare.h"
#include "common/TestDir.h"
#include "display/codec/Codec.h"
#include "display/codec/Exif.h"
#include "platform/Platform.h"

namespace {

using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);

QString data(const QString &name)
{
    return TestDataDir() + u'/' + name;
}

Reader readerFor(const QString &name)
{
    const QString ext = QFileInfo(name).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return ReadBmpFile;
    if (ext == QLatin1String("pcx"))
        return ReadPcxFile;
    if (ext == QLatin1String("png"))
        return ReadPngFile;
    if (ext == QLatin1String("gif"))
        return ReadGifFile;
    if (ext == QLatin1String("tif"))
        return ReadTifFile;
    return ReadJpgFile;
}

QImage read(const QString &path, int bits = 24)
{
    QImage image;
    readerFor(path)(path, bits, 1, image, {});
    return image;
}

// Every percentage the routine was told, answering go on.
QList<int> progressOf(const QString &path)
{
    QList<int> calls;
    QImage image;
    readerFor(path)(path, 24, 1, image, [&](int percent) {
        calls.append(percent);
        return 1;
    });
    return calls;
}

void writePlatformIni(const QByteArray &text)
{
    QFile file(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

const QStringList Fixtures = {"scene-64x48-24bit.bmp",
                              "rle8.bmp",
                              "pal4.bmp",
                              "mono.bmp",
                              "rgb565.bmp",
                              "os2-pal8.bmp",
                              "argb32-v5.bmp",
                              "scene-64x48.pcx",
                              "rgb-3planes.pcx",
                              "mono.pcx",
                              "scene-64x48.jpg",
                              "progressive-256x192.jpg",
                              "cmyk.jpg",
                              "grey.jpg",
                              "scene-64x48.png",
                              "interlaced.png",
                              "rgb16bit.png",
                              "alpha.png",
                              "scene-64x48.gif",
                              "interlaced.gif",
                              "transparent.gif",
                              "scene-64x48.tif",
                              "strips-lzw.tif",
                              "strips-zip.tif",
                              "strips-jpeg.tif",
                              "strips-packbits.tif",
                              "rgb16bit.tif",
                              "fax-g4.tif",
                              "tiled.tif"};

} // namespace

class TestCodec : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void cleanup()
    {
        SetDecodeLimit(qint64(1) << 30);
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")));
    }

    void everyVariantMatchesAnIndependentDecoder_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : Fixtures)
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyVariantMatchesAnIndependentDecoder()
    {
        QFETCH(QString, name);
        const QImage ours = read(data(name));
        QVERIFY2(!ours.isNull(), qPrintable(CodecErrorString()));
        QCOMPARE(ours.size(), QImageReader(data(name)).size().isValid()
                                  ? QImageReader(data(name)).size()
                                  : ours.size());
        if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
            QSKIP("ImageMagick is not installed");
        // ImageMagick reads a two-colour PCX without colours the other way round from
        // the format's own rule (0 is black) that we and others follow.
        if (name == QLatin1String("mono.pcx"))
            return;
        // ImageMagick's reading of palette BMPs changed between Debian security releases;
        // Qt's reader is fixed with the Qt we build against. Qt widens 5-bit channels by
        // shifting alone, so bit-field pictures stay with ImageMagick.
        const bool qtReference =
            name.endsWith(QLatin1String(".bmp")) && name != QLatin1String("rgb565.bmp");
        const QImage ref = qtReference ? QtDecode(data(name)) : MagickDecode(data(name));
        if (name.endsWith(QLatin1String(".jpg"))) {
            QVERIFY2(MeanDifference(ours, ref) < 1.5,
                     qPrintable(QString::number(MeanDifference(ours, ref))));
        } else {
            const int diff = MaxDifference(ours, ref);
            QVERIFY2(diff <= 1, qPrintable(QStringLiteral("largest difference %1").arg(diff)));
        }
    }

    void progressRunsFromZeroToHundredInSmallSteps_data()
    {
        everyVariantMatchesAnIndependentDecoder_data();
    }

    void progressRunsFromZeroToHundredInSmallSteps()
    {
        QFETCH(QString, name);
        const QList<int> calls = progressOf(data(name));
        QVERIFY(calls.size() >= 2);
        QCOMPARE(calls.first(), 0);
        QCOMPARE(calls.last(), 100);
        for (int i = 1; i < calls.size(); ++i) {
            QVERIFY(calls[i] > calls[i - 1]);
            // TIFF pictures report once per strip or row of tiles: the tiled, the fax and
            // the JPEG-compressed fixture (16 rows a strip) have few of them.
            if (name != QLatin1String("tiled.tif") && name != QLatin1String("fax-g4.tif")
                && name != QLatin1String("strips-jpeg.tif"))
                QVERIFY2(calls[i] - calls[i - 1] <= 5,
                         qPrintable(QStringLiteral("%1 -> %2").arg(calls[i - 1]).arg(calls[i])));
        }
    }

    void stoppingEndsTheLoad_data() { everyVariantMatchesAnIndependentDecoder_data(); }

    void stoppingEndsTheLoad()
    {
        QFETCH(QString, name);
        int callsAfterStop = 0;
        bool stopped = false;
        QImage image = QImage(3, 3, QImage::Format_RGB32);
        const bool ok = readerFor(name)(data(name), 24, 1, image, [&](int percent) {
            if (stopped) {
                ++callsAfterStop;
                return 1;
            }
            if (percent >= 30 || percent == 100) {
                stopped = true;
                return 0;
            }
            return 1;
        });
        QVERIFY(!ok);
        QVERIFY(stopped);
        QCOMPARE(callsAfterStop, 0);
        QVERIFY(!CodecErrorString().isEmpty());
    }

    void stoppingAtTheStart()
    {
        QImage image;
        QList<int> calls;
        QVERIFY(!ReadPngFile(data("scene-64x48.png"), 24, 0, image, [&](int percent) {
            calls.append(percent);
            return 0;
        }));
        QCOMPARE(calls, QList<int>{0});
    }

    void sizeLimitRefusesBeforeDecoding()
    {
        // 64 x 48 true-colour pixels need 12288 bytes.
        SetDecodeLimit(12000);
        for (const char *name : {"scene-64x48-24bit.bmp", "rgb-3planes.pcx", "scene-64x48.jpg",
                                 "scene-64x48.png", "scene-64x48.gif", "scene-64x48.tif"}) {
            QList<int> calls;
            QImage image;
            QVERIFY2(!readerFor(name)(data(name), 24, 0, image,
                                      [&](int p) {
                                          calls.append(p);
                                          return 1;
                                      }),
                     qPrintable(name));
            QVERIFY2(CodecErrorString().contains(QLatin1String("too large")),
                     qPrintable(CodecErrorString()));
            // No row was decoded.
            QVERIFY(calls.size() <= 2);
        }
        // Together with the reduced copies the display may keep (a fifteenth more).
        SetDecodeLimit(12288 + 12288 / 15);
        QVERIFY(!read(data("scene-64x48.png")).isNull());
        SetDecodeLimit(12288 + 12288 / 15 - 1);
        QVERIFY(read(data("scene-64x48.png")).isNull());
    }

    void failedReadsReplaceOnlyWhereTheyShould()
    {
        TestDir dir;
        const QImage previous(5, 5, QImage::Format_RGB32);
        const struct
        {
            const char *ext;
            Reader reader;
            bool replaces;
        } rows[] = {{"bmp", ReadBmpFile, true},  {"pcx", ReadPcxFile, true},
                    {"png", ReadPngFile, true},  {"jpg", ReadJpgFile, false},
                    {"gif", ReadGifFile, false}, {"tif", ReadTifFile, false}};
        for (const auto &row : rows) {
            const QString path = dir.write(QStringLiteral("junk.%1").arg(QLatin1String(row.ext)),
                                           "this is no picture at all, just text");
            QImage bitmap = previous;
            QVERIFY(!row.reader(path, 24, 0, bitmap, {}));
            QCOMPARE(bitmap.isNull(), row.replaces);
            QVERIFY(!CodecErrorString().isEmpty());
        }
        QImage bitmap = previous;
        QVERIFY(!ReadGifFile(dir.filePath("missing.gif"), 24, 0, bitmap, {}));
        QCOMPARE(bitmap.size(), QSize(5, 5));
    }

    void truncatedFilesShowWhatTheyHold_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"scene-64x48-24bit.bmp", "rle8.bmp", "rgb-3planes.pcx",
                                 "scene-64x48.jpg", "progressive-256x192.jpg", "scene-64x48.png",
                                 "interlaced.png", "scene-64x48.gif", "interlaced.gif"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void truncatedFilesShowWhatTheyHold()
    {
        QFETCH(QString, name);
        QFile original(data(name));
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray whole = original.readAll();
        const QImage full = read(data(name));
        // Pictures stored in passes show their early passes' coarse version, so only the
        // others can be checked row by row.
        const bool passes = name.startsWith(QLatin1String("progressive"))
                            || name.startsWith(QLatin1String("interlaced"));
        TestDir dir;
        int shown = 0;
        for (int percent = 55; percent <= 95; percent += 5) {
            const QImage image = read(dir.write(name, whole.left(whole.size() * percent / 100)));
            if (image.isNull())
                continue;
            ++shown;
            QCOMPARE(image.size(), full.size());
            if (passes)
                continue;
            // The rows stored first (the bottom ones of a bitmap) are the picture's; in a
            // small JPEG the cut may fall in its first blocks.
            const int first = name.endsWith(QLatin1String(".bmp")) ? full.height() - 8 : 0;
            const QRect rows(0, first, full.width(), 8);
            const double mean = MeanDifference(image.copy(rows), full.copy(rows));
            const double tolerance = name.endsWith(QLatin1String(".jpg")) ? 4.0 : 1.0;
            QVERIFY2(mean < tolerance,
                     qPrintable(QStringLiteral("%1 %: %2").arg(percent).arg(mean)));
        }
        // A cut may fall inside a table the rest depends on; most fall in the pixels.
        QVERIFY2(shown >= 7, qPrintable(QString::number(shown)));

        // Every cut, however short, fails or shows a picture; none crashes.
        for (qsizetype size = 0; size < whole.size(); size += qMax<qsizetype>(1, whole.size() / 97))
            read(dir.write(QStringLiteral("piece-") + name, whole.left(size)));
    }

    void truncatedTiffWithoutItsDirectoryFails()
    {
        // Writers put the directory after the pixels, so a cut file has none to read.
        QFile original(data("strips-lzw.tif"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray whole = original.readAll();
        TestDir dir;
        for (qsizetype size = 0; size < whole.size(); size += 37)
            read(dir.write("cut.tif", whole.left(size)));
        QImage bitmap(4, 4, QImage::Format_RGB32);
        QVERIFY(
            !ReadTifFile(dir.write("half.tif", whole.left(whole.size() / 2)), 24, 0, bitmap, {}));
        QVERIFY(CodecErrorString().contains(QLatin1String("TIFF")));
        QCOMPARE(bitmap.size(), QSize(4, 4));
    }

    void damagedBytesNeverCrash_data() { everyVariantMatchesAnIndependentDecoder_data(); }

    void damagedBytesNeverCrash()
    {
        QFETCH(QString, name);
        QFile original(data(name));
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray whole = original.readAll();
        TestDir dir;
        quint32 seed = 12345;
        for (int round = 0; round < 40; ++round) {
            QByteArray damaged = whole;
            for (int k = 0; k < 8; ++k) {
                seed = seed * 1103515245u + 12345u;
                damaged[qsizetype(seed % quint32(damaged.size()))] = char(seed >> 16);
            }
            read(dir.write(name, damaged));
        }
    }

    void colourDepths_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("maxColours");
        // How far, seen from afar, the reduced picture may be from the original.
        QTest::addColumn<double>("tolerance");
        QTest::newRow("VGA") << 0 << false << int(QImage::Format_Indexed8) << 16 << 45.0;
        QTest::newRow("VGA dithered") << 0 << true << int(QImage::Format_Indexed8) << 16 << 10.0;
        QTest::newRow("mono") << 1 << false << int(QImage::Format_Mono) << 2 << 80.0;
        QTest::newRow("mono dithered") << 1 << true << int(QImage::Format_Mono) << 2 << 45.0;
        QTest::newRow("16 colours") << 4 << false << int(QImage::Format_Indexed8) << 16 << 5.0;
        QTest::newRow("16 colours dithered")
            << 4 << true << int(QImage::Format_Indexed8) << 16 << 4.0;
        QTest::newRow("256 colours") << 8 << false << int(QImage::Format_Indexed8) << 256 << 12.0;
        QTest::newRow("true colour") << 24 << false << int(QImage::Format_RGB32) << 0 << 0.0;
    }

    void colourDepths()
    {
        QFETCH(int, bits);
        QFETCH(bool, dither);
        QFETCH(int, format);
        QFETCH(int, maxColours);
        QFETCH(double, tolerance);
        for (const char *name : {"scene-64x48.jpg", "scene-64x48-24bit.bmp", "scene-64x48.gif"}) {
            QImage image;
            QVERIFY(readerFor(name)(data(name), bits, dither ? 1 : 0, image, {}));
            QCOMPARE(int(image.format()), format);
            if (maxColours > 0)
                QVERIFY(image.colorCount() <= maxColours);
            // Seen from afar, the reduced picture still looks like the scene.
            auto afar = [](const QImage &i) {
                return i.convertToFormat(QImage::Format_RGB32)
                    .scaled(8, 6, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            };
            const double mean = MeanDifference(afar(image), afar(read(data(name))));
            QVERIFY2(mean <= tolerance, qPrintable(QStringLiteral("%1: %2").arg(name).arg(mean)));
        }
    }

    void ditheringSpreadsTheError()
    {
        QImage plain, dithered;
        QVERIFY(ReadPngFile(data("scene-64x48.png"), 4, 0, plain, {}));
        QVERIFY(ReadPngFile(data("scene-64x48.png"), 4, 1, dithered, {}));
        QVERIFY(plain != dithered);
        // The sky's gradient keeps its average brightness better when dithered.
        const QImage truth = read(data("scene-64x48.png"));
        QVERIFY(
            MeanDifference(dithered.scaled(16, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                           truth.scaled(16, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
            <= MeanDifference(
                plain.scaled(16, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                truth.scaled(16, 12, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }

    void deviceColorBits_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("bits");
        QTest::newRow("1") << 1 << 4;
        QTest::newRow("4") << 4 << 4;
        QTest::newRow("5") << 5 << 8;
        QTest::newRow("8") << 8 << 8;
        QTest::newRow("15") << 15 << 8;
        QTest::newRow("16") << 16 << 24;
        QTest::newRow("24") << 24 << 24;
        QTest::newRow("32") << 32 << 24;
    }

    void deviceColorBits()
    {
        QFETCH(int, device);
        QFETCH(int, bits);
        QCOMPARE(DeviceColorBits(device), bits);
    }

    void imageInfo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("valueA");
        QTest::addColumn<int>("colours");
        QTest::newRow("bmp 24") << "scene-64x48-24bit.bmp"
                                << "BMP" << 24 << 0;
        QTest::newRow("bmp rle8") << "rle8.bmp"
                                  << "BMP" << 8 << 256;
        QTest::newRow("bmp 4") << "pal4.bmp"
                               << "BMP" << 4 << 16;
        QTest::newRow("bmp os2") << "os2-pal8.bmp"
                                 << "BMP" << 8 << 256;
        QTest::newRow("pcx 8") << "scene-64x48.pcx"
                               << "PCX" << 8 << 256;
        QTest::newRow("pcx 24") << "rgb-3planes.pcx"
                                << "PCX" << 24 << 0;
        QTest::newRow("pcx 1") << "mono.pcx"
                               << "PCX" << 1 << 2;
        QTest::newRow("jpg") << "scene-64x48.jpg"
                             << "JPG" << 24 << 0;
        QTest::newRow("jpg grey") << "grey.jpg"
                                  << "JPG" << 8 << 256;
        QTest::newRow("jpg cmyk") << "cmyk.jpg"
                                  << "JPG" << 32 << 0;
        QTest::newRow("png") << "scene-64x48.png"
                             << "PNG" << 24 << 0;
        QTest::newRow("png 16") << "rgb16bit.png"
                                << "PNG" << 48 << 0;
        QTest::newRow("png alpha") << "alpha.png"
                                   << "PNG" << 32 << 0;
        QTest::newRow("gif") << "scene-64x48.gif"
                             << "GIF" << 7 << 128;
        QTest::newRow("tif") << "strips-lzw.tif"
                             << "TIF" << 24 << 0;
        QTest::newRow("tif g4") << "fax-g4.tif"
                                << "TIF" << 1 << 2;
    }

    void imageInfo()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(int, valueA);
        QFETCH(int, colours);
        QString typeText, description;
        int width = -1, height = -1, a = -1, b = -1, colors = -1;
        QVERIFY(ReadImageInfo(data(name), typeText, width, height, a, b, colors, description));
        QCOMPARE(typeText, type);
        QCOMPARE(width, 64);
        QCOMPARE(height, 48);
        QCOMPARE(a, valueA);
        QCOMPARE(colors, colours);
        QVERIFY(b >= 0);
        QVERIFY(!description.isEmpty());
        QVERIFY(description.size() <= 32);
    }

    void imageInfoOfOtherFiles()
    {
        QString typeText = "old", description = "old";
        int width = 1, height = 1, a = 1, b = 1, colors = 1;
        for (const char *name : {"notes.txt", "missing.bmp", "chime.wav", "tune.mid"}) {
            QVERIFY2(!ReadImageInfo(data(name), typeText, width, height, a, b, colors, description),
                     name);
            QCOMPARE(typeText, QString());
            QCOMPARE(width, 0);
            QCOMPARE(description, QString());
        }
    }

    void exifOrientation()
    {
        // A JPEG given an APP1 block that says "rotate 90 degrees clockwise" comes upright.
        QFile file(data("scene-64x48.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray jpeg = file.readAll();
        const QByteArray exif = QByteArray(
            "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
        QByteArray app1("\xFF\xE1", 2);
        app1.append(char((exif.size() + 2) >> 8))
            .append(char((exif.size() + 2) & 0xFF))
            .append(exif);
        jpeg.insert(2, app1);
        TestDir dir;
        const QImage turned = read(dir.write("turned.jpg", jpeg));
        QCOMPARE(turned.size(), QSize(48, 64));
        const QImage upright = read(data("scene-64x48.jpg"));
        QCOMPARE(MaxDifference(turned, upright.transformed(QTransform().rotate(90))), 0);

        QCOMPARE(ExifOrientation(reinterpret_cast<const uchar *>(exif.constData()), exif.size()),
                 6);
        // Cut short or lying about its entries, it names no orientation.
        QCOMPARE(ExifOrientation(reinterpret_cast<const uchar *>(exif.constData()), 20), 0);
        QByteArray lying = exif;
        lying[14] = char(0x7F);
        lying.chop(10);
        QCOMPARE(ExifOrientation(reinterpret_cast<const uchar *>(lying.constData()), lying.size()),
                 0);
    }

    void mciExtensionsAndTheOpenFilter()
    {
        writePlatformIni("[mci extensions]\nWAV=none\nMID=none\nRMI=none\nAVI=none\nMOV=none\n");
        QCOMPARE(MediaOpenFilter(),
                 QStringLiteral("All Media|*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;"
                                "|BMP|*.BMP|CMS|*.CMS|GIF|*.GIF|JPG|*.JPG|PCX|*.PCX|PNG|*.PNG"
                                "|RTF|*.RTF|SCM|*.SCM|TIF|*.TIF"));
        writePlatformIni(
            "[mci extensions]\nWAV=waveaudio\nMID=none\nRMI=none\nAVI=none\nMOV=QuickTime\n");
        QVERIFY(MciExtensionKnown("wav"));
        QVERIFY(!MciExtensionKnown("MID"));
        QCOMPARE(
            MediaOpenFilter(),
            QStringLiteral("All Media|*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.WAV;*.MOV;"
                           "|BMP|*.BMP|CMS|*.CMS|GIF|*.GIF|JPG|*.JPG|PCX|*.PCX|PNG|*.PNG"
                           "|RTF|*.RTF|SCM|*.SCM|TIF|*.TIF|Wav|*.WAV|Mov|*.MOV"));
        // Without a word from platform.ini the engine answers; it never plays pictures.
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")));
        QVERIFY(!MciExtensionKnown("BMP"));
        QCOMPARE(MciExtensionKnown("WAV"), MediaEngineCanPlay("WAV"));
    }

    void baseNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("resource");
        QTest::newRow("dotted resource") << "C:\\PICS\\LOGO.V2.RES"
                                         << "LOGO.V2.RES"
                                         << "LOGO";
        QTest::newRow("unix path") << "/home/u/logo.res"
                                   << "logo.res"
                                   << "logo";
        QTest::newRow("drive only") << "D:PIC.RES"
                                    << "PIC.RES"
                                    << "PIC";
        QTest::newRow("no separator") << "101"
                                      << "101"
                                      << "101";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("long name cut at 64")
            << QString(70, u'a') + ".res" << QString(64, u'a') << QString(64, u'a');
    }

    void baseNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QFETCH(QString, resource);
        QCOMPARE(ExtractBaseName(path), base);
        QCOMPARE(ResourceNameOf(path), resource);
    }

    void dibColorInfo_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("offset");
        QByteArray core(12, 0);
        core[0] = 12;
        core[10] = 8;
        QTest::newRow("core 8 bits") << core + QByteArray(768, 0) << 256 << 12 + 768;
        core[10] = 24;
        QTest::newRow("core 24 bits") << core << 0 << 12;
        QByteArray info(40, 0);
        info[0] = 40;
        info[14] = 4;
        QTest::newRow("info 4 bits") << info + QByteArray(64, 0) << 16 << 40 + 64;
        info[32] = 3;
        QTest::newRow("info colours used") << info + QByteArray(12, 0) << 3 << 40 + 12;
        info[32] = 0;
        info[14] = 24;
        QTest::newRow("info 24 bits") << info << 0 << 40;
        info[14] = 8;
        QTest::newRow("table past the end") << info + QByteArray(10, 0) << 0 << -1;
        QTest::newRow("unknown header")
            << QByteArray("\x14\0\0\0", 4) + QByteArray(20, 0) << 0 << -1;
        QTest::newRow("nothing") << QByteArray() << 0 << -1;
    }

    void dibColorInfo()
    {
        QFETCH(QByteArray, header);
        QFETCH(int, colours);
        QFETCH(int, offset);
        int numColors = -5;
        qsizetype bits = -5;
        DibColorInfo(reinterpret_cast<const uchar *>(header.constData()), header.size(), numColors,
                     bits);
        QCOMPARE(numColors, colours);
        QCOMPARE(bits, qsizetype(offset));
    }

    void resourceBitmaps()
    {
        QImage bitmap;
        QVERIFY(ReadResourceBitmap(QString(), "BMP_MS_RUNNING", bitmap));
        QCOMPARE(bitmap.size(), QSize(42, 22));
        // Names are looked up as given and in upper case.
        QImage again;
        QVERIFY(ReadResourceBitmap(QString(), "bmp_ms_running", again));
        QCOMPARE(again, bitmap);
        // A resource without a file header, named by number, in a module of its own.
        QFile bmp(data("pal4.bmp"));
        QVERIFY(bmp.open(QIODevice::ReadOnly));
        TestDir dir;
        const QString dib = dir.write("101", bmp.readAll().mid(14));
        QImage fromModule;
        QVERIFY(!ReadResourceBitmap("testmodule", "101", fromModule));
        QVERIFY(QDir().mkpath(dir.filePath("testmodule/bitmaps")));
        QVERIFY(QFile::rename(dib, dir.filePath("testmodule/bitmaps/101")));
        QTemporaryFile qrc(dir.filePath("XXXXXX.qrc"));
        QVERIFY(qrc.open());
        qrc.write(
            "<RCC><qresource prefix=\"/\"><file>testmodule/bitmaps/101</file></qresource></RCC>");
        qrc.close();
        const QString rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/rcc";
        const QString out = dir.filePath("module.rcc");
        QCOMPARE(QProcess::execute(rcc, {"--binary", qrc.fileName(), "-o", out}), 0);
        QVERIFY(QResource::registerResource(out));
        QVERIFY(ReadResourceBitmap("testmodule", "101", fromModule));
        QCOMPARE(MaxDifference(fromModule, read(data("pal4.bmp"))), 0);
        QVERIFY(QResource::unregisterResource(out));

        QImage untouched(2, 2, QImage::Format_RGB32);
        QVERIFY(!ReadResourceBitmap(QString(), "NO_SUCH_BITMAP", untouched));
        QCOMPARE(untouched.size(), QSize(2, 2));
    }
};

QTEST_MAIN(TestCodec)
#include "tst_codec.moc"
