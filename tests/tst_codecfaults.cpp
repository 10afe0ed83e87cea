// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Valid pictures that decoders commonly get wrong, each checked against what an
// independent decoder (Qt's own readers, or the colours the file was written with) shows:
// CMYK JPEGs with and without the Adobe marker, icons of several sizes and depths.
#include <QBuffer>
#include <QDataStream>
#include <QHash>
#include <QImageReader>
#include <QProcess>
#include <QTest>

#include <cstdio>
#include <jpeglib.h>

#include "common/ImageCompare.h"
#include "common/TestDir.h"
#include "display/codec/Codec.h"
#include "display/codec/Decoders.h"

namespace {

// A 32 x 32 CMYK JPEG of one colour; with adobe, the marker Adobe applications write and
// the inverted values that go with it.
QByteArray cmykJpeg(int c, int m, int y, int k, bool adobe)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 32;
    cinfo.image_height = 32;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_CMYK);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(32 * 4);
    for (int x = 0; x < 32; ++x) {
        const int values[] = {c, m, y, k};
        for (int i = 0; i < 4; ++i)
            row[size_t(x * 4 + i)] = JSAMPLE(adobe ? 255 - values[i] : values[i]);
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 8 && qAbs(qGreen(a) - qGreen(b)) <= 8
           && qAbs(qBlue(a) - qBlue(b)) <= 8;
}

QString rgbText(QRgb colour)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

// One icon entry as a bitmap of one colour: 32-bit, or 4-bit with that colour at index 1.
QByteArray dibEntry(int side, int bits, QRgb colour)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const int stride = ((side * bits + 31) / 32) * 4;
    const int maskStride = ((side + 31) / 32) * 4;
    out << quint32(40) << qint32(side) << qint32(side * 2) << quint16(1) << quint16(bits)
        << quint32(0) << quint32((stride + maskStride) * side) << quint32(0) << quint32(0)
        << quint32(bits == 4 ? 16 : 0) << quint32(0);
    if (bits == 4) {
        for (int i = 0; i < 16; ++i)
            out << quint32(i == 1 ? (colour & 0xFFFFFF) : 0);
    }
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < stride; ++x) {
            if (bits == 4)
                out << quint8(0x11);
            else if (x % 4 == 3)
                out << quint8(255);
            else
                out << quint8(x % 4 == 0   ? qBlue(colour)
                              : x % 4 == 1 ? qGreen(colour)
                                           : qRed(colour));
        }
    }
    for (int i = 0; i < maskStride * side; ++i)
        out << quint8(0);
    return bytes;
}

QByteArray icon(const QList<QPair<int, QByteArray>> &entries)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * quint32(entries.size());
    for (const auto &[side, data] : entries) {
        out << quint8(side) << quint8(side) << quint8(0) << quint8(0) << quint16(1) << quint16(0)
            << quint32(data.size()) << offset;
        offset += quint32(data.size());
    }
    for (const auto &entry : entries)
        out.writeRawData(entry.second.constData(), int(entry.second.size()));
    return bytes;
}

// A GIF of these pixels (indexes into a grey palette of 256) whose LZW codes fill the
// whole table and go on at 12 bits with no clear code, as the format allows.
QByteArray gifWithoutClearCodes(const QImage &pixels)
{
    QByteArray codes;
    quint32 bitBuffer = 0;
    int bitCount = 0;
    int codeSize = 9;
    const auto put = [&](int code) {
        bitBuffer |= quint32(code) << bitCount;
        bitCount += codeSize;
        while (bitCount >= 8) {
            codes.append(char(bitBuffer & 0xFF));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };
    QHash<quint32, int> table;
    int next = 258;
    put(256);
    int prefix = -1;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const int index = pixels.pixelIndex(x, y);
            if (prefix < 0) {
                prefix = index;
                continue;
            }
            const quint32 key = quint32(prefix) << 8 | quint32(index);
            const auto found = table.constFind(key);
            if (found != table.constEnd()) {
                prefix = *found;
                continue;
            }
            put(prefix);
            if (next < 4096) {
                table.insert(key, next++);
                if (next > (1 << codeSize) && codeSize < 12)
                    ++codeSize;
            }
            prefix = index;
        }
    }
    put(prefix);
    put(257);
    if (bitCount > 0)
        codes.append(char(bitBuffer & 0xFF));

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("GIF89a", 6);
    out << quint16(pixels.width()) << quint16(pixels.height()) << quint8(0xF7) << quint8(0)
        << quint8(0);
    for (int i = 0; i < 256; ++i)
        out << quint8(i) << quint8(i) << quint8(i);
    out << quint8(0x2C) << quint16(0) << quint16(0) << quint16(pixels.width())
        << quint16(pixels.height()) << quint8(0) << quint8(8);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        out << quint8(block.size());
        out.writeRawData(block.constData(), int(block.size()));
    }
    out << quint8(0) << quint8(0x3B);
    return bytes;
}

} // namespace

QString RectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

class TestCodecFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Plain CMYK unless an Adobe marker says the values are stored inverted.
    void cmykJpegsInTheirColours()
    {
        TestDir dir;
        const struct
        {
            int c, m, y, k;
            QRgb expected;
        } colours[] = {{0, 255, 255, 0, qRgb(255, 0, 0)},
                       {255, 0, 255, 0, qRgb(0, 255, 0)},
                       {0, 0, 0, 128, qRgb(127, 127, 127)},
                       {0, 0, 0, 0, qRgb(255, 255, 255)}};
        for (const bool adobe : {false, true}) {
            for (const auto &colour : colours) {
                const QString path =
                    dir.write(QStringLiteral("cmyk.jpg"),
                              cmykJpeg(colour.c, colour.m, colour.y, colour.k, adobe));
                QImage image;
                QVERIFY2(ReadJpgFile(path, 24, 0, image, {}), qPrintable(CodecErrorString()));
                const QRgb shown = image.pixel(16, 16);
                QVERIFY2(near(shown, colour.expected),
                         qPrintable(QStringLiteral("%1 CMYK %2 %3 %4 %5 shows %6, not %7")
                                        .arg(adobe ? "Adobe" : "plain")
                                        .arg(colour.c)
                                        .arg(colour.m)
                                        .arg(colour.y)
                                        .arg(colour.k)
                                        .arg(rgbText(shown), rgbText(colour.expected))));
            }
        }
    }

    // The table full and no clear code: the pixels as written, as Qt's reader sees them too.
    void gifWhoseCodeTableFillsUp()
    {
        QImage pixels(300, 200, QImage::Format_Indexed8);
        pixels.setColorCount(256);
        for (int i = 0; i < 256; ++i)
            pixels.setColor(i, qRgb(i, i, i));
        quint32 noise = 7;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                noise = noise * 1103515245u + 12345u;
                pixels.setPixel(x, y, (noise >> 16) & 0xFF);
            }
        }
        TestDir dir;
        const QString path =
            dir.write(QStringLiteral("full-table.gif"), gifWithoutClearCodes(pixels));
        QImageReader qt(path, "gif");
        const QImage independent = qt.read();
        QVERIFY2(!independent.isNull(), qPrintable(qt.errorString()));
        QImage shown;
        QVERIFY2(ReadGifFile(path, 24, 0, shown, {}), qPrintable(CodecErrorString()));
        QCOMPARE(shown.size(), pixels.size());
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                const QRgb expected = pixels.pixel(x, y);
                if ((independent.pixel(x, y) | 0xFF000000u) != expected)
                    QFAIL(qPrintable(QStringLiteral("Qt: pixel %1,%2 differs").arg(x).arg(y)));
                if ((shown.pixel(x, y) | 0xFF000000u) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
            }
        }
    }

    // Of several entries, the largest of the highest colour depth, whatever their order.
    void iconShowsItsBestEntry()
    {
        const QRgb poor = qRgb(255, 0, 0);
        const QRgb best = qRgb(0, 160, 0);
        const QByteArray file = icon({{48, dibEntry(48, 4, poor)},
                                      {16, dibEntry(16, 32, qRgb(0, 0, 255))},
                                      {48, dibEntry(48, 32, best)},
                                      {32, dibEntry(32, 32, qRgb(9, 9, 9))}});
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        DecodeContext ctx;
        const QImage shown = DecodeIco(buffer, ctx);
        QVERIFY2(!shown.isNull(), qPrintable(ctx.error()));
        QCOMPARE(shown.size(), QSize(48, 48));
        // Qt's own reader of that entry as the independent decoder.
        buffer.seek(0);
        QImageReader reader(&buffer, "ico");
        QVERIFY(reader.jumpToImage(2));
        const QImage expected = reader.read();
        QCOMPARE(expected.pixel(10, 10), best | 0xFF000000u);
        QVERIFY2(near(shown.pixel(10, 10), best), qPrintable(rgbText(shown.pixel(10, 10))));
    }

    // A JPEG asked to cover a smaller size decodes at the smallest DCT scaling that still
    // covers it; shown scaled to that size it matches the full picture scaled alike.
    void jpegDecodedToCoverTheDisplay_data()
    {
        QTest::addColumn<QStringList>("convert");
        QTest::addColumn<bool>("turned");
        QTest::newRow("baseline") << QStringList() << false;
        QTest::newRow("progressive")
            << QStringList({QStringLiteral("-interlace"), QStringLiteral("Plane")}) << false;
        QTest::newRow("grey") << QStringList(
            {QStringLiteral("-colorspace"), QStringLiteral("Gray")})
                              << false;
        QTest::newRow("cmyk") << QStringList(
            {QStringLiteral("-colorspace"), QStringLiteral("CMYK")})
                              << false;
        QTest::newRow("exif turned") << QStringList() << true;
    }

    void jpegDecodedToCoverTheDisplay()
    {
        QFETCH(QStringList, convert);
        QFETCH(bool, turned);
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        QStringList arguments{QStringLiteral("-seed"),   QStringLiteral("7"),
                              QStringLiteral("-size"),   QStringLiteral("3000x2000"),
                              QStringLiteral("plasma:"), QStringLiteral("-blur"),
                              QStringLiteral("0x2")};
        arguments += convert;
        arguments += {QStringLiteral("-quality"), QStringLiteral("92"), path};
        if (QProcess::execute(QStringLiteral("convert"), arguments) != 0)
            QSKIP("ImageMagick's convert is needed to make the photographs");
        if (turned) {
            // An APP1 block that says "rotate 90 degrees clockwise", right after the start.
            const QByteArray exif = QByteArray(
                "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
            QByteArray jpeg = TestDir::readFile(path);
            jpeg.insert(2, QByteArray("\xFF\xE1\0", 3) + char(exif.size() + 2) + exif);
            TestDir::writeFile(path, jpeg);
        }
        const auto decode = [&path](QSize cover, QSize *full) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return QImage();
            DecodeContext ctx;
            ctx.setCoverSize(cover);
            QImage image = DecodeJpeg(file, ctx);
            *full = ctx.fullSize();
            return image;
        };
        QSize fullSize;
        const QImage whole = decode({}, &fullSize);
        QVERIFY(!whole.isNull());
        QVERIFY(fullSize.isEmpty());
        const QSize shownFull = turned ? QSize(2000, 3000) : QSize(3000, 2000);
        QCOMPARE(whole.size(), shownFull);

        const QSize display = turned ? QSize(600, 900) : QSize(900, 600);
        const QImage scaled = decode(display, &fullSize);
        QCOMPARE(fullSize, shownFull);
        // 3/8 of the picture is the least that still covers 900 x 600.
        QCOMPARE(scaled.size(), turned ? QSize(750, 1125) : QSize(1125, 750));
        const auto shown = [display](const QImage &image) {
            return image.scaled(display, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        const int worst = MaxDifference(shown(scaled), shown(whole));
        QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));

        // A cover as large as the picture asks for the whole of it.
        QCOMPARE(decode(shownFull, &fullSize).size(), shownFull);
        QVERIFY(fullSize.isEmpty());

        // Fitted keeping its shape into a box much wider than the picture's shape.
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            DecodeContext ctx;
            ctx.setCoverSize(turned ? QSize(2000, 600) : QSize(2000, 400), Qt::KeepAspectRatio);
            QCOMPARE(DecodeJpeg(file, ctx).size(), turned ? QSize(500, 750) : QSize(750, 500));
        }

        // The centred part a normal display shows first is the whole picture's pixels there.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        DecodeContext ctx;
        ctx.setCentredRegion(QSize(1000, 700));
        const QImage part = DecodeJpeg(file, ctx);
        QCOMPARE(ctx.fullSize(), shownFull);
        const QRect where = ctx.regionDecoded();
        const QRect wanted(QPoint((shownFull.width() - 1000) / 2, (shownFull.height() - 700) / 2),
                           QSize(1000, 700));
        QVERIFY2(where.contains(wanted), qPrintable(RectText(where)));
        // Columns widen to whole blocks, rows not at all.
        QVERIFY2(where.width() * where.height() < 1100 * 800, qPrintable(RectText(where)));
        QCOMPARE(part.size(), where.size());
        QCOMPARE(part.convertToFormat(QImage::Format_RGB32),
                 whole.copy(where).convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_GUILESS_MAIN(TestCodecFaults)
#include "tst_codecfaults.moc"
