// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that carry a colour profile are shown in the display's colours (sRGB here), as
// ImageMagick converts them; pictures without one, or with a damaged one, are untouched.
#include <QFile>
#include <QProcess>
#include <QTest>

#include <cmath>
#include <csetjmp>
#include <cstdio>

#include <png.h>

#include "common/ImageCompare.h"
#include "common/TestDir.h"
#include "display/codec/Codec.h"
#include "display/codec/ColorProfile.h"

namespace {

const QString Icc = QStringLiteral("/usr/share/color/icc/");

// Saturated colours and smooth ramps, where a wide-gamut profile shows most.
QImage colourful(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x * 255 / (size.width() - 1), y * 255 / (size.height() - 1),
                           128 + int(120 * std::sin((x + y) / 37.0)));
    }
    return image;
}

bool convert(const QStringList &arguments)
{
    QProcess magick;
    magick.start(QStringLiteral("convert"), arguments);
    return magick.waitForFinished(120000) && magick.exitCode() == 0;
}

QImage read(const QString &path)
{
    const QString suffix = path.section(QLatin1Char('.'), -1).toUpper();
    QImage image;
    bool ok = false;
    if (suffix == QLatin1String("JPG"))
        ok = ReadJpgFile(path, 24, 1, image, {});
    else if (suffix == QLatin1String("PNG"))
        ok = ReadPngFile(path, 24, 1, image, {});
    else if (suffix == QLatin1String("BMP"))
        ok = ReadBmpFile(path, 24, 1, image, {});
    else if (suffix == QLatin1String("TIF"))
        ok = ReadTifFile(path, 24, 1, image, {});
    return ok ? image.convertToFormat(QImage::Format_RGB32) : QImage();
}

QImage reference(const QString &path)
{
    QImage image(path);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestColorProfile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!convert({QStringLiteral("-version")}))
            QSKIP("ImageMagick's convert is needed to make the pictures");
        for (const QString &file :
             {QStringLiteral("colord/AdobeRGB1998.icc"), QStringLiteral("colord/sRGB.icc"),
              QStringLiteral("ghostscript/default_cmyk.icc")})
            if (!QFile::exists(Icc + file))
                QSKIP(qPrintable(Icc + file
                                 + QStringLiteral(" is missing (colord-data, "
                                                  "libgs-common)")));
        m_plain = m_dir.filePath(QStringLiteral("plain.png"));
        QVERIFY(colourful(QSize(600, 400)).save(m_plain));
    }

    void init() { SetDisplayProfile({}); }

    // Each format's embedded profile: the picture decoded here equals ImageMagick's
    // conversion of the same file to sRGB within 2 levels.
    void matchesImageMagick_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("make");
        QTest::addColumn<QSize>("size");
        const QString adobe = Icc + QStringLiteral("colord/AdobeRGB1998.icc");
        QTest::newRow("Adobe RGB JPEG")
            << "adobe.jpg" << QStringList{"-profile", adobe, "-quality", "95"} << QSize();
        // Converted on a thread of its own as the rows arrive; the width not a whole
        // number of any kernel's pixels.
        QTest::newRow("Adobe RGB JPEG photograph, 3001 x 2000")
            << "large.jpg" << QStringList{"-profile", adobe, "-quality", "95"} << QSize(3001, 2000);
        QTest::newRow("Adobe RGB PNG") << "adobe.png" << QStringList{"-profile", adobe} << QSize();
        QTest::newRow("ProPhoto RGB PNG")
            << "prophoto.png"
            << QStringList{"-profile", Icc + QStringLiteral("colord/ProPhotoRGB.icc")} << QSize();
        QTest::newRow("Adobe RGB TIFF") << "adobe.tif" << QStringList{"-profile", adobe} << QSize();
        QTest::newRow("Adobe RGB BMP, V5 header")
            << "adobe.bmp" << QStringList{"-profile", adobe, "-type", "TrueColor"} << QSize();
        QTest::newRow("Adobe RGB BMP, 8-bit palette")
            << "palette.bmp" << QStringList{"-profile", adobe, "-type", "Palette"} << QSize();
        QTest::newRow("CMYK JPEG")
            << "cmyk.jpg"
            << QStringList{"-profile", Icc + QStringLiteral("colord/sRGB.icc"),
                           "-profile", Icc + QStringLiteral("ghostscript/default_cmyk.icc"),
                           "-quality", "95"}
            << QSize();
    }

    void matchesImageMagick()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, make);
        QFETCH(QSize, size);
        QString plain = m_plain;
        if (size.isValid()) {
            plain = m_dir.filePath(QStringLiteral("plain-large.png"));
            QVERIFY(colourful(size).save(plain));
        }
        const QString path = m_dir.filePath(name);
        QVERIFY(convert(QStringList{plain} + make + QStringList{path}));
        const QString expectedPath = m_dir.filePath(name + QStringLiteral(".srgb.png"));
        QVERIFY(convert({path, QStringLiteral("-profile"), Icc + QStringLiteral("colord/sRGB.icc"),
                         expectedPath}));
        const QImage ours = read(path);
        const QImage expected = reference(expectedPath);
        QCOMPARE(ours.size(), expected.size());
        const int worst = MaxDifference(ours, expected);
        QVERIFY2(worst >= 0 && worst <= 2, qPrintable(QString::number(worst)));
        // And the profile made a difference: read without it, the colours are off.
        if (!name.startsWith(QLatin1String("cmyk"))) {
            SetDisplayProfile(TestDir::readFile(Icc + QStringLiteral("colord/AdobeRGB1998.icc")));
            QImage unconverted = read(path);
            SetDisplayProfile({});
            QVERIFY(MaxDifference(unconverted, expected) > 10);
        }
    }

    // No profile: the pixels are the decoder's own, to the bit. A damaged profile: the
    // same, and the picture still loads.
    void withoutAUsableProfile()
    {
        const QString bare = m_dir.filePath(QStringLiteral("bare.jpg"));
        QVERIFY(convert({m_plain, QStringLiteral("-quality"), QStringLiteral("95"), bare}));
        const QImage plain = read(bare);
        QVERIFY(!plain.isNull());

        QByteArray damaged = TestDir::readFile(Icc + QStringLiteral("colord/AdobeRGB1998.icc"));
        for (qsizetype i = 128; i < damaged.size(); i += 7)
            damaged[i] = char(damaged[i] ^ 0x5A);
        const QString profile = m_dir.filePath(QStringLiteral("damaged.icc"));
        TestDir::writeFile(profile, damaged);
        const QString marked = m_dir.filePath(QStringLiteral("damaged.jpg"));
        QVERIFY(convert({m_plain, QStringLiteral("-profile"), profile, QStringLiteral("-quality"),
                         QStringLiteral("95"), marked}));
        const QImage loaded = read(marked);
        QVERIFY2(!loaded.isNull(), qPrintable(CodecErrorString()));
        QCOMPARE(loaded, plain);
        QVERIFY(!ProfileUsable(damaged));
    }

    // A PNG without a profile that gives its gamma and chromaticities (here Adobe RGB's)
    // is shown as the same picture with the Adobe RGB profile is.
    void pngGammaAndChromaticities()
    {
        const QImage picture = QImage(m_plain).convertToFormat(QImage::Format_RGB888);
        const QString path = m_dir.filePath(QStringLiteral("chrm.png"));
        FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
        QVERIFY(file);
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        QVERIFY(png && info);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            std::fclose(file);
            QFAIL("libpng could not write the picture");
        }
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(picture.width()), png_uint_32(picture.height()), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_gAMA(png, info, 256.0 / 563.0);
        png_set_cHRM(png, info, 0.3127, 0.3290, 0.64, 0.33, 0.21, 0.71, 0.15, 0.06);
        png_write_info(png, info);
        for (int y = 0; y < picture.height(); ++y)
            png_write_row(png, picture.constScanLine(y));
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        std::fclose(file);

        const QString adobe = m_dir.filePath(QStringLiteral("tagged.png"));
        QVERIFY(convert({m_plain, QStringLiteral("-profile"),
                         Icc + QStringLiteral("colord/AdobeRGB1998.icc"), adobe}));
        const QString expectedPath = m_dir.filePath(QStringLiteral("tagged.srgb.png"));
        QVERIFY(convert({adobe, QStringLiteral("-profile"), Icc + QStringLiteral("colord/sRGB.icc"),
                         expectedPath}));
        const int worst = MaxDifference(read(path), reference(expectedPath));
        QVERIFY2(worst >= 0 && worst <= 2, qPrintable(QString::number(worst)));
    }

private:
    TestDir m_dir;
    QString m_plain;
};

QTEST_GUILESS_MAIN(TestColorProfile)
#include "tst_colorprofile.moc"
