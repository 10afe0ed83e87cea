// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The decoders against public test suites written by others: valid files give the pixels
// of an independent decoder (the suites' own reference renderings, Qt's readers or
// ImageMagick), broken files fail cleanly or show what they hold, none crashes.
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include <tiffio.h>

#include "common/ImageCompare.h"
#include "display/codec/ColorProfile.h"
#include "display/codec/Decoders.h"

namespace {

using Decoder = QImage (*)(QIODevice &, DecodeContext &);

QString corpus(const QString &sub)
{
    return QStringLiteral(KORVID_CORPUS) + u'/' + sub;
}

QStringList files(const QString &dir, const QStringList &patterns)
{
    QStringList found;
    QDirIterator it(corpus(dir), patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    found.sort();
    return found;
}

// converted: the profile a decoder applied as it decoded (empty if none).
QImage decodeFile(Decoder decode, const QString &path, QString *error = nullptr,
                  QByteArray *converted = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    DecodeContext ctx;
    const QImage image = decode(file, ctx);
    if (error)
        *error = ctx.error();
    if (converted)
        *converted = ctx.colorsConverted() ? ctx.colorProfile() : QByteArray();
    return image;
}

bool nameIn(const QString &path, const QStringList &patterns)
{
    const QString name = QFileInfo(path).fileName();
    for (const QString &pattern : patterns) {
        if (QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive).match(name).hasMatch())
            return true;
    }
    return false;
}

// Decodes every file of a folder (none may crash) and checks that the named ones fail.
void checkBroken(Decoder decode, const QString &dir, const QStringList &patterns,
                 const QStringList &mustFail)
{
    int failed = 0;
    for (const QString &path : files(dir, patterns)) {
        QString error;
        const QImage image = decodeFile(decode, path, &error);
        if (image.isNull()) {
            ++failed;
            QVERIFY2(!error.isEmpty(),
                     qPrintable(path + QStringLiteral(": failure without a reason")));
        }
        if (nameIn(path, mustFail))
            QVERIFY2(image.isNull(), qPrintable(path + QStringLiteral(" should be refused")));
    }
    QVERIFY(failed >= mustFail.size());
}

QString describe(const QString &path, int diff)
{
    return QStringLiteral("%1: largest difference %2").arg(path).arg(diff);
}

// PngSuite's decoded RGBA, 8 bits per channel (16-bit files scaled as 8-bit displays do).
QImage pngSuiteReference(const QString &png)
{
    const QString name = QFileInfo(png).completeBaseName();
    QFile file(corpus(QStringLiteral("png/pngsuite/reference_json/%1.json").arg(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonArray values = QJsonDocument::fromJson(file.readAll()).array();
    const QImage original = QtDecode(png);
    if (values.size() != qsizetype(original.width()) * original.height() * 4)
        return {};
    const bool wide = name.endsWith(QLatin1String("16"));
    QImage out(original.size(), QImage::Format_ARGB32);
    for (int i = 0; i < values.size() / 4; ++i) {
        int c[4];
        for (int k = 0; k < 4; ++k) {
            const int v = values[i * 4 + k].toInt();
            c[k] = wide ? (v + 128) / 257 : v;
        }
        out.setPixel(i % out.width(), i / out.width(), qRgba(c[0], c[1], c[2], c[3]));
    }
    return out;
}

// Signed samples: we show zero as middle grey, ImageMagick as black.
bool signedSamples(const QString &path)
{
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    TIFF *tif = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tif)
        return false;
    uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFClose(tif);
    return format == SAMPLEFORMAT_INT;
}

// Valid files our readers refuse, each with why; any other refusal of a file that an
// independent reader shows fails the test.
const QHash<QString, QString> KnownRefusals = {};

#define REQUIRE_CORPUS(dir)                                                                        \
    if (!QFileInfo(corpus(dir)).isDir())                                                           \
        QSKIP(qPrintable(QStringLiteral("test corpus %1 is absent").arg(corpus(dir))));

} // namespace

class TestCodecCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bmpSuiteGood()
    {
        REQUIRE_CORPUS("bmp/bmpsuite");
        // Files the suite renders through another file's reference picture.
        const QHash<QString, QString> alias = {{"rgb16-565pal", "rgb16-565"},
                                               {"rgb16bfdef", "rgb16"}};
        for (const QString &path : files("bmp/bmpsuite/g", {"*.bmp"})) {
            const QImage ours = decodeFile(DecodeBmp, path);
            QVERIFY2(!ours.isNull(), qPrintable(path));
            const QString base = QFileInfo(path).completeBaseName();
            QImage ref =
                QtDecode(corpus("bmp/bmpsuite/reference_html/") + alias.value(base, base) + ".png");
            if (ref.isNull())
                ref = QtDecode(path);
            const int diff = MaxDifference(ours, ref);
            QVERIFY2(diff == 0, qPrintable(describe(path, diff)));
        }
    }

    void bmpSuiteQuestionable()
    {
        REQUIRE_CORPUS("bmp/bmpsuite");
        // Where the suite shows how such a file should look, ours looks that way
        // (skipped run-length pixels take colour 0, the "-0" rendering). Its picture of
        // rgb16faketrns shows the unused bit as transparency, which is the reading it warns
        // against.
        QStringList refused;
        for (const QString &path : files("bmp/bmpsuite/q", {"*.bmp"})) {
            if (path.endsWith("rgb16faketrns.bmp"))
                continue;
            const QImage ours = decodeFile(DecodeBmp, path);
            const QString base = QFileInfo(path).completeBaseName();
            QImage ref = QtDecode(corpus("bmp/bmpsuite/reference_html/") + base + "-0.png");
            if (ref.isNull())
                ref = QtDecode(corpus("bmp/bmpsuite/reference_html/") + base + ".png");
            if (ref.isNull())
                continue;
            if (ours.isNull()) {
                if (!KnownRefusals.contains(QFileInfo(path).fileName()))
                    refused.append(path);
                continue;
            }
            const int diff = MaxDifference(ours, ref);
            // Five- and six-bit channels scaled to eight bits may round one step apart.
            QVERIFY2(diff <= 1, qPrintable(describe(path, diff)));
        }
        QVERIFY2(refused.isEmpty(),
                 qPrintable(QStringLiteral("valid and refused: ") + refused.join(u' ')));
        QVERIFY(decodeFile(DecodeBmp, corpus("bmp/bmpsuite/q/rgb24rle24.bmp")).size()
                == QSize(127, 64));
        QVERIFY(!decodeFile(DecodeBmp, corpus("bmp/bmpsuite/q/rgb24png.bmp")).isNull());
        QVERIFY(!decodeFile(DecodeBmp, corpus("bmp/bmpsuite/q/rgb24jpeg.bmp")).isNull());
    }

    void bmpOtherSuites()
    {
        REQUIRE_CORPUS("bmp/image-rs");
        for (const QString &path : files("bmp/image-rs/images", {"*.bmp"})) {
            if (path.contains("/lenient/"))
                continue;
            const QImage ours = decodeFile(DecodeBmp, path);
            QString refPath = path;
            refPath.replace("/image-rs/images/", "/image-rs/reference/");
            const QImage ref = QtDecode(refPath + ".png");
            if (ref.isNull())
                continue;
            const int diff = MaxDifference(ours, ref);
            QVERIFY2(diff == 0, qPrintable(describe(path, diff)));
        }
        for (const QString &path : files("bmp/bmptestsuite-costanzo/valid", {"*.bmp"}))
            QVERIFY2(!decodeFile(DecodeBmp, path).isNull(), qPrintable(path));
        // Ten-, eleven- and ten-bit masks give the same colours as plain 32 bits.
        const QImage masks = decodeFile(
            DecodeBmp, corpus("bmp/bmptestsuite-costanzo/valid/32bpp-101110-320x240.bmp"));
        const QImage plain =
            decodeFile(DecodeBmp, corpus("bmp/bmptestsuite-costanzo/valid/32bpp-320x240.bmp"));
        QCOMPARE(MaxDifference(masks, plain), 0);
    }

    void bmpBroken()
    {
        REQUIRE_CORPUS("bmp/bmpsuite");
        checkBroken(DecodeBmp, "bmp/bmpsuite/b", {"*.bmp"},
                    {"badbitcount.bmp", "badwidth.bmp", "reallybig.bmp", "rletopdown.bmp"});
        checkBroken(DecodeBmp, "bmp/bmptestsuite-costanzo/corrupt", {"*.bmp"},
                    {"bitdepth-*", "colormasks-*", "compression-*", "emptyfile.bmp",
                     "fileinfoheader-cropped.bmp", "height-zero.bmp", "infoheader-*",
                     "infoheadersize-large.bmp", "infoheadersize-zero.bmp", "magicnumber-*",
                     "palette-cropped.bmp", "palette-missing.bmp", "width-negative.bmp",
                     "width-times-height-overflow.bmp", "width-zero.bmp"});
        checkBroken(DecodeBmp, "bmp/sail/bugs", {"*.bmp"},
                    {"TALOS-2025-2215.bmp", "TALOS-2025-2216.bmp"});
        checkBroken(DecodeBmp, "bmp/image-rs/bad", {"*.bmp"}, {"Bad_height.bmp", "Bad_width.bmp"});
        // A file cut short shows the rows it holds.
        const QImage shortFile = decodeFile(DecodeBmp, corpus("bmp/bmpsuite/b/shortfile.bmp"));
        QCOMPARE(shortFile.size(), QSize(127, 64));
    }

    void pngSuite()
    {
        REQUIRE_CORPUS("png/pngsuite");
        int compared = 0;
        for (const QString &path : files("png/pngsuite", {"*.png"})) {
            const QString name = QFileInfo(path).fileName();
            const QImage ours = decodeFile(DecodePng, path);
            if (name.startsWith(u'x')) {
                QVERIFY2(ours.isNull(), qPrintable(path + " is corrupt and should be refused"));
                continue;
            }
            QVERIFY2(!ours.isNull(), qPrintable(path));
            const QImage ref = pngSuiteReference(path);
            if (ref.isNull())
                continue;
            const int diff = MaxDifference(ours, ref);
            QVERIFY2(diff == 0, qPrintable(describe(path, diff)));
            ++compared;
        }
        QVERIFY(compared > 140);
    }

    void pngOthers()
    {
        REQUIRE_CORPUS("png/pillow");
        checkBroken(
            DecodePng, "png", {"*.png"},
            {"broken.png", "broken_data_stream.png", "corrupted-compression.png", "zero-byte.png"});
        // Cut short after some rows: those rows show.
        const QImage truncated = decodeFile(DecodePng, corpus("png/pillow/truncated_image.png"));
        QVERIFY(!truncated.isNull());
    }

    void gif()
    {
        REQUIRE_CORPUS("gif");
        QStringList refused;
        for (const QString &path : files("gif", {"*.gif"})) {
            const QImage ours = decodeFile(DecodeGif, path);
            const QImage ref = QtDecode(path);
            if (ref.isNull())
                continue;
            if (ours.isNull()) {
                if (!KnownRefusals.contains(QFileInfo(path).fileName()))
                    refused.append(path);
                continue;
            }
            const int diff = MaxDifference(ours, ref);
            QVERIFY2(diff == 0, qPrintable(describe(path, diff)));
        }
        QVERIFY2(refused.isEmpty(),
                 qPrintable(QStringLiteral("valid and refused: ") + refused.join(u' ')));
        checkBroken(DecodeGif, "gif", {"*.gif"}, {"decompression_bomb.gif", "zero_width.gif"});
    }

    void ico()
    {
        REQUIRE_CORPUS("ico");
        // The largest entry is the one shown, wherever it stands in the directory.
        const QList<std::pair<const char *, QSize>> largest = {
            {"ico/pillow/pillow.ico", {256, 256}},
            {"ico/pillow/python.ico", {48, 48}},
            {"ico/image-rs/images/ico/images/two-entry-order-test.ico", {48, 48}},
            {"ico/image-rs/images/ico/images/multiple_entries_with_different_bit_depth.ico",
             {48, 48}},
            {"ico/image-rs/images/ico/images/bmp_v5_with_icc.ico", {127, 64}},
            {"ico/sail/acceptance/ico/bpp32-bgra.ico", {32, 32}},
        };
        for (const auto &[name, size] : largest) {
            const QImage image = decodeFile(DecodeIco, corpus(name));
            QVERIFY2(image.size() == size, name);
        }
        // One picture stored at four depths and as PNG looks the same each time.
        const QImage png = decodeFile(DecodeIco, corpus("ico/gfxprim/valid/png_8x8.ico"));
        QCOMPARE(png.size(), QSize(8, 8));
        for (const char *name : {"24bpp_8x8.ico", "32bpp_8x8.ico", "8bpp_8x8.ico"}) {
            const QString path = corpus(QStringLiteral("ico/gfxprim/valid/") + name);
            const int diff = MaxDifference(decodeFile(DecodeIco, path), png);
            QVERIFY2(diff == 0, qPrintable(describe(path, diff)));
        }
        checkBroken(DecodeIco, "ico", {"*.ico"}, {"hopper_unexpected.ico", "oom-*", "crash-*"});
    }

    void pcx()
    {
        REQUIRE_CORPUS("pcx");
        if (QStandardPaths::findExecutable("convert").isEmpty())
            QSKIP("ImageMagick is not installed");
        // ImageMagick draws two-colour files without a colour table the other way round.
        const QStringList twoColour = {"pil184.pcx", "ver3_0_palette_1bpp_10x10_white.pcx"};
        for (const QString &path : files("pcx", {"*.pcx"})) {
            const QImage ours = decodeFile(DecodePcx, path);
            if (nameIn(path, twoColour) || ours.isNull())
                continue;
            const int diff = MaxDifference(ours, MagickDecode(path));
            QVERIFY2(diff == 0, qPrintable(describe(path, diff)));
        }
        const QImage white =
            decodeFile(DecodePcx, corpus("pcx/gfxprim/valid/ver3_0_palette_1bpp_10x10_white.pcx"));
        QCOMPARE(white.pixel(5, 5), qRgb(255, 255, 255));
        checkBroken(DecodePcx, "pcx", {"*.pcx", "*.bin"},
                    {"01r_00.pcx", "ossfuzz-*", "pcx_overrun*"});
    }

    void tiff()
    {
        REQUIRE_CORPUS("tif");
        if (QStandardPaths::findExecutable("convert").isEmpty())
            QSKIP("ImageMagick is not installed");
        // ImageMagick renders these kinds otherwise (subsampled YCbCr, old-style JPEG, Lab,
        // signed samples, which we show with zero as middle grey, unassociated alpha, CMYK
        // with extra inks, 24-bit samples, white-is-zero grey of odd depths, which it does
        // not invert, orientation), so they are checked below against each other.
        const QStringList otherwise = {"ycbcr*",
                                       "smallliz.tif",
                                       "ojpeg_*",
                                       "old-style-jpeg*",
                                       "*lab*",
                                       "hopper.Lab.tif",
                                       "16bit.s.tif",
                                       "*RGBa*",
                                       "seq-4c-*",
                                       "minisblack-2c-8b-alpha.tiff",
                                       "cmyk-4c-8b.tiff",
                                       "extra_bits_gray_8b.tiff",
                                       "TODO hpredict_cmyk.tiff",
                                       "off_l16.tif",
                                       "*-24b-*",
                                       "*-24.tif",
                                       "*miniswhite*",
                                       "g4_orientation_*",
                                       "hopper2I*",
                                       "hopper4I*",
                                       "clusterfuzz-*"};
        int compared = 0;
        for (const QString &path : files("tif", {"*.tif", "*.tiff"})) {
            if (path.contains("fuzz_images") || nameIn(path, otherwise) || signedSamples(path))
                continue;
            const QImage ours = decodeFile(DecodeTiff, path);
            if (ours.isNull())
                continue;
            const QImage ref = MagickDecode(path);
            if (ref.isNull())
                continue;
            const int diff = MaxDifference(ours, ref);
            QVERIFY2(diff <= 1, qPrintable(describe(path, diff)));
            ++compared;
        }
        QVERIFY(compared > 100);

        // The sequence files carry the checksum of their picture in their names: files with
        // one checksum show one picture, however they store it.
        QHash<QString, QImage> byChecksum;
        for (const QString &path : files("tif/image-tiff/images/seq", {"seq-1c-*.tiff"})) {
            const QImage image = decodeFile(DecodeTiff, path);
            QVERIFY2(!image.isNull(), qPrintable(path));
            const QString checksum = QFileInfo(path).completeBaseName().section(u'-', -1);
            if (path.contains("palette") || path.contains("multipage"))
                continue;
            const QImage shown = image.convertToFormat(QImage::Format_RGB32);
            if (!byChecksum.contains(checksum))
                byChecksum.insert(checksum, shown);
            else
                QVERIFY2(MaxDifference(byChecksum.value(checksum), shown) == 0, qPrintable(path));
        }
        QVERIFY(byChecksum.size() >= 15);

        // One flower at every depth: from 8 bits on, each shows the 16-bit picture.
        for (const char *kind : {"minisblack", "rgb-contig", "rgb-planar"}) {
            const QString base =
                QStringLiteral("tif/image-tiff/libtiffpic/depth/flower-%1-").arg(kind);
            const QImage reference = decodeFile(DecodeTiff, corpus(base + "16.tif"));
            QVERIFY(!reference.isNull());
            for (const char *depth : {"08", "10", "12", "14", "24", "32"}) {
                const QString path = corpus(base + depth + ".tif");
                if (!QFileInfo::exists(path))
                    continue;
                const int diff = MaxDifference(decodeFile(DecodeTiff, path), reference);
                QVERIFY2(diff >= 0 && diff <= 1, qPrintable(describe(path, diff)));
            }
        }

        // Every orientation shows the picture upright.
        const QImage upright = decodeFile(DecodeTiff, corpus("tif/pillow/g4_orientation_1.tif"));
        for (int i = 2; i <= 8; ++i) {
            const QImage turned = decodeFile(
                DecodeTiff, corpus(QStringLiteral("tif/pillow/g4_orientation_%1.tif").arg(i)));
            QCOMPARE(turned.size(), upright.size());
            QVERIFY2(MeanDifference(turned, upright) < 2.0, qPrintable(QString::number(i)));
        }
        // Grey stored with white as zero looks like grey stored the usual way.
        const QImage normal =
            decodeFile(DecodeTiff, corpus("tif/pillow/tiff_gray_2_4_bpp/hopper2.tif"));
        const QImage inverted =
            decodeFile(DecodeTiff, corpus("tif/pillow/tiff_gray_2_4_bpp/hopper2I.tif"));
        QCOMPARE(MaxDifference(normal, inverted), 0);
        // The compressions of the classic set load.
        for (const char *name :
             {"image-tiff/libtiffpic/quad-lzw.tif", "image-tiff/libtiffpic/quad-tile.tif",
              "pillow/tiff_adobe_deflate.tif", "image-tiff/libtiffpic/g3test.tif",
              "image-tiff/libtiffpic/zackthecat.tif"}) {
            if (QFileInfo::exists(corpus("tif/") + name))
                QVERIFY2(!decodeFile(DecodeTiff, corpus("tif/") + name).isNull(), name);
        }
        // Loops in the directory chain end the reading; the first picture may still show.
        checkBroken(DecodeTiff, "tif", {"*.tif", "*.tiff"}, {});
    }

    void jpeg()
    {
        REQUIRE_CORPUS("jpg");
        const QStringList broken = {"truncated*", "junk_jpeg_header*", "invalid-magic.jpg",
                                    "oss-fuzz-*"};
        for (const QString &path : files("jpg", {"*.jpg", "*.jpeg"})) {
            QByteArray profile;
            const QImage ours = decodeFile(DecodeJpeg, path, nullptr, &profile);
            if (nameIn(path, broken))
                continue;
            QVERIFY2(!ours.isNull(), qPrintable(path));
            QImage ref = QtDecode(path);
            if (ref.isNull())
                continue;
            // Qt's own reading leaves the colours as stored.
            if (!profile.isEmpty())
                QVERIFY2(ConvertToDisplay(ref, profile), qPrintable(path));
            QCOMPARE(ours.size(), ref.size());
            const double mean = MeanDifference(ours, ref);
            QVERIFY2(mean < 1.0,
                     qPrintable(QStringLiteral("%1: mean difference %2").arg(path).arg(mean)));
        }
        checkBroken(DecodeJpeg, "jpg", {"*.jpg", "*.jpeg"}, {"invalid-magic.jpg"});
    }
};

QTEST_GUILESS_MAIN(TestCodecCorpus)
#include "tst_codec_corpus.moc"
