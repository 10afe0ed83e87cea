// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The display control: properties, loading and its status, the information block, and
// where painting puts the picture and the text overlay.
#include <QClipboard>
#include <QDirIterator>
#include <QPainter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "platform/Platform.h"
#include "display/Metafile.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"

namespace {

QString data(const QString &name)
{
    return TestDataDir() + u'/' + name;
}

// The control as the screen would show it, client area only.
QImage shot(TPMultiMedia &control)
{
    return control.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The bounding box of the pixels of one colour.
QRect areaOf(const QImage &image, QRgb colour)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestMultiMedia : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void init()
    {
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup() { SetMessageDlgScript({}); }

    void valuesAfterConstruction()
    {
        TPMultiMedia control;
        QCOMPARE(control.size(), QSize(105, 105));
        QCOMPARE(control.AutoSize(), false);
        QCOMPARE(control.AutoPlayMultiMedia(), false);
        QCOMPARE(control.AutoRePlayMultiMedia(), false);
        QCOMPARE(control.AutoHideMediaPlayer(), false);
        QCOMPARE(control.Center(), false);
        QCOMPARE(control.BorderStyle(), bsNone);
        QVERIFY(control.Picture().isEmpty());
        QCOMPARE(control.ImageLibPalette(), true);
        QCOMPARE(control.ImageDither(), true);
        QCOMPARE(control.ImageReadRes(), lAutoMatic);
        QCOMPARE(control.ImageWriteRes(), sAutoMatic);
        QCOMPARE(control.JPegSaveQuality(), 25);
        QCOMPARE(control.JPegSaveSmooth(), 0);
        QCOMPARE(control.TifSaveCompress(), sNONE);
        QCOMPARE(control.PNGInterLaced(), false);
        QCOMPARE(control.Stretch(), false);
        QCOMPARE(control.StretchRatio(), false);
        QCOMPARE(control.Text(), QString());
        QCOMPARE(control.TextShadowColor(), QColor(Qt::black));
        QCOMPARE(control.TextTransParent(), true);
        QCOMPARE(control.UseTwainWindow(), false);
        QCOMPARE(control.palette().color(QPalette::Window),
                 control.palette().color(QPalette::Button));
    }

    void validatedProperties()
    {
        TPMultiMedia control;
        control.setJPegSaveQuality(0);
        QCOMPARE(control.JPegSaveQuality(), 25);
        control.setJPegSaveQuality(100);
        QCOMPARE(control.JPegSaveQuality(), 100);
        control.setJPegSaveQuality(101);
        QCOMPARE(control.JPegSaveQuality(), 25);
        control.setJPegSaveSmooth(101);
        QCOMPARE(control.JPegSaveSmooth(), 5);
        control.setJPegSaveSmooth(0);
        QCOMPARE(control.JPegSaveSmooth(), 0);
        control.setJPegSaveSmooth(-1);
        QCOMPARE(control.JPegSaveSmooth(), 5);
    }

    void stretchModesExcludeEachOther()
    {
        TPMultiMedia control;
        control.setStretchRatio(true);
        control.setStretch(true);
        QVERIFY(control.Stretch());
        QVERIFY(!control.StretchRatio());
        control.setStretchRatio(true);
        QVERIFY(!control.Stretch());
        QVERIFY(control.StretchRatio());
        // Turning one off leaves the other as it is.
        control.setStretchRatio(false);
        QVERIFY(!control.Stretch());
    }

    void missingFileEmptiesQuietly()
    {
        TPMultiMedia control;
        control.setMediaName(data("scene-64x48.png"));
        QVERIFY(control.Picture().isBitmap());
        control.setMediaName(data("no-such-picture.bmp"));
        QVERIFY(control.Picture().isEmpty());
        QCOMPARE(control.LoadedName(), QStringLiteral("file not found"));
        QVERIFY(m_messages.isEmpty());
        // The information block keeps what the last real load put there.
        QCOMPARE(control.MediaType, QStringLiteral("PNG"));
    }

    void everyCodecRowLoadsAndDescribes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("bmp") << "scene-64x48-24bit.bmp"
                             << "BMP";
        QTest::newRow("png") << "scene-64x48.png"
                             << "PNG";
        QTest::newRow("gif") << "scene-64x48.gif"
                             << "GIF";
        QTest::newRow("tif") << "strips-lzw.tif"
                             << "TIF";
        QTest::newRow("pcx") << "scene-64x48.pcx"
                             << "PCX";
        QTest::newRow("jpg") << "scene-64x48.jpg"
                             << "JPG";
        QTest::newRow("lower-case extension") << "lower-case-ext.jpg"
                                              << "JPG";
    }

    void everyCodecRowLoadsAndDescribes()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        TPMultiMedia control;
        QList<int> progress;
        ProgressCallback = [&](int percent) {
            progress.append(percent);
            return 1;
        };
        control.setMediaName(data(name));
        ProgressCallback = {};
        QVERIFY(control.Picture().isBitmap());
        QCOMPARE(control.LoadedName(), data(name).toUpper());
        QCOMPARE(control.MediaType, type);
        QCOMPARE(control.MediaWidth, 64);
        QCOMPARE(control.MediaHeight, 48);
        QCOMPARE(control.MediaFileSize, QFileInfo(data(name)).size());
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.first(), 0);
        QCOMPARE(progress.last(), 100);
        QVERIFY(m_messages.isEmpty());
    }

    void failedReadsSayWhich_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("message");
        QTest::newRow("bmp") << "bmp"
                             << "Reading bmp file failed";
        QTest::newRow("png") << "png"
                             << "Reading png file failed";
        QTest::newRow("gif") << "gif"
                             << "Reading gif file failed";
        QTest::newRow("tif") << "tif"
                             << "Reading TIF file failed - Compressed TIF not supported, see help "
                                "file.";
        QTest::newRow("pcx") << "pcx"
                             << "Reading pcx file failed";
        QTest::newRow("jpg") << "jpg"
                             << "Reading jpg file failed";
    }

    void failedReadsSayWhich()
    {
        QFETCH(QString, extension);
        QFETCH(QString, message);
        TestDir dir;
        const QString corrupt = dir.write("corrupt." + extension, "definitely not a picture");
        TPMultiMedia control;
        control.setMediaName(data("scene-64x48.png"));
        control.MediaType.clear();
        control.setMediaName(corrupt);
        QVERIFY(control.Picture().isEmpty());
        QCOMPARE(control.MediaType, QString());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, message);
        QCOMPARE(m_messages.first().icon, QMessageBox::Information);
        QCOMPARE(m_messages.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(control.LoadedName(), corrupt.toUpper());

        // In quiet mode the same failure says nothing.
        control.setQuietMode(true);
        control.setMediaName(corrupt);
        QCOMPARE(m_messages.size(), 1);
    }

    void soundsAndVideosTheMachineCannotPlayArePassedOver()
    {
        QFile ini(QDir(ConfigDir()).filePath("platform.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[mci extensions]\nWAV=none\nMID=sequencer\n");
        ini.close();
        TPMultiMedia control;
        control.setMediaName(data("scene-64x48.png"));
        const QString before = control.LoadedName();
        control.setMediaName(data("chime.wav"));
        QCOMPARE(control.LoadedName(), before);
        QVERIFY(control.Picture().isBitmap());
        // A playable one empties the picture and leaves the information block alone.
        control.setMediaName(data("tune.mid"));
        QCOMPARE(control.LoadedName(), data("tune.mid").toUpper());
        QVERIFY(control.Picture().isEmpty());
        QCOMPARE(control.MediaType, QStringLiteral("PNG"));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        ini.remove();
    }

    void otherExtensionsKeepThePicture()
    {
        TestDir dir;
        TPMultiMedia control;
        control.setMediaName(data("scene-64x48.png"));
        const TPicture before = control.Picture();
        for (const char *name : {"notes.rtf", "picture.jfif", "picture.tif.bak"}) {
            control.setMediaName(dir.write(name, "x"));
            QVERIFY(control.Picture() == before);
            QCOMPARE(control.LoadedName(), dir.filePath(name).toUpper());
        }
        QVERIFY(m_messages.isEmpty());
    }

    void resourceNamesLoadBitmapResources()
    {
        TPMultiMedia control;
        // No such file exists: the name only says which resource.
        control.setMediaName(QStringLiteral("/nowhere/bmp_ms_running.res"));
        QVERIFY(control.Picture().isBitmap());
        QCOMPARE(control.Picture().image().size(), QSize(42, 22));
        QCOMPARE(control.MediaType, QStringLiteral("RES"));
        QCOMPARE(control.MediaDescription, QStringLiteral("BMP"));
        QCOMPARE(control.MediaWidth, 42);
        QCOMPARE(control.MediaColors, 0);
        QCOMPARE(control.MediaFileSize, control.Picture().image().sizeInBytes() + 40);
        control.setMediaName(QStringLiteral("/nowhere/logo.v2.res"));
        QVERIFY(control.Picture().isEmpty());
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Reading resource file failed"));
    }

    void icons()
    {
        TPMultiMedia control;
        control.setMediaName(data("icon-16.ico"));
        QCOMPARE(control.Picture().kind(), TPicture::Icon);
        QCOMPARE(control.LoadedName(), QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image"));
        QCOMPARE(control.MediaType, QStringLiteral("ICO"));
        QCOMPARE(control.MediaDescription, QStringLiteral("ICO"));
        QCOMPARE(control.MediaWidth, 16);
        QCOMPARE(control.MediaValueA, 0);
        QCOMPARE(control.MediaFileSize, QFileInfo(data("icon-16.ico")).size());

        // The largest entry is shown, here a PNG one after a small bitmap.
        control.setMediaName(data("icon-16-png256.ico"));
        QCOMPARE(control.Picture().image().size(), QSize(256, 256));

        // A damaged icon is the writer's to report.
        TestDir dir;
        const QString bad = dir.write("bad.ico", "no icon in here");
        QVERIFY_THROWS_EXCEPTION(TMediaReadError, control.setMediaName(bad));
        QVERIFY(m_messages.isEmpty());
    }

    void metafilesAreDrawnAtTheSizeShown()
    {
        TPMultiMedia control;
        control.setMediaName(data("shapes.wmf"));
        QCOMPARE(control.Picture().kind(), TPicture::Metafile);
        QCOMPARE(control.LoadedName(), QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image"));
        QCOMPARE(control.MediaType, QStringLiteral("WMF"));
        QCOMPARE(control.MediaWidth, 400);
        QCOMPARE(control.MediaHeight, 300);
        QCOMPARE(control.MediaFileSize, QFileInfo(data("shapes.wmf")).size());
        // Sky, sun and hills where the metafile puts them, at twice its size too.
        for (const int scale : {1, 2}) {
            control.resize(400 * scale, 300 * scale);
            control.setStretch(true);
            const QImage seen = shot(control);
            QCOMPARE(seen.pixel(10 * scale, 10 * scale), qRgb(0x40, 0x80, 0xC0));
            QCOMPARE(seen.pixel(300 * scale, 70 * scale), qRgb(0xFF, 0xFF, 0x00));
            QCOMPARE(seen.pixel(20 * scale, 290 * scale), qRgb(0x30, 0x90, 0x20));
            // Drawn, not enlarged from a small bitmap: the sun's black outline (two units
            // wide) is sharp, with at most one blended pixel on either side.
            int outline = 0;
            for (int x = 340 * scale - 8; x < 340 * scale + 8; ++x)
                outline += qGray(seen.pixel(x, 70 * scale)) < 60 ? 1 : 0;
            QVERIFY2(outline >= 1 && outline <= 2 * scale + 2,
                     qPrintable(QString::number(outline)));
        }
        TestDir dir;
        QVERIFY_THROWS_EXCEPTION(
            TMediaReadError, control.setMediaName(dir.write("bad.wmf", "not a metafile at all")));
    }

    void metafileCorpus()
    {
        const QString dir = QStringLiteral(KORVID_CORPUS "/wmf");
        if (!QFileInfo(dir).isDir())
            QSKIP(qPrintable("test corpus " + dir + " is absent"));
        int drawn = 0;
        QDirIterator it(dir, {"*.wmf"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const TMetafile metafile = TMetafile::fromData(file.readAll());
            // Every file, the looping and the one-pixel ones included, plays and ends.
            QImage canvas(240, 180, QImage::Format_RGB32);
            canvas.fill(Qt::white);
            QPainter painter(&canvas);
            metafile.play(painter, canvas.rect());
            painter.end();
            if (metafile.isEmpty())
                continue;
            QVERIFY(metafile.size().width() >= 1 && metafile.size().width() <= 4096);
            bool inked = false;
            for (int y = 0; y < canvas.height() && !inked; ++y)
                for (int x = 0; x < canvas.width() && !inked; ++x)
                    inked = canvas.pixel(x, y) != qRgb(255, 255, 255);
            drawn += inked ? 1 : 0;
        }
        // Of the 30 files, all but the one-pixel sample draw something.
        QVERIFY2(drawn >= 28, qPrintable(QString::number(drawn)));
    }

    void mediaInfoOfMissingFiles()
    {
        TPMultiMedia control;
        QVERIFY(!control.ReadMediaInfo(data("missing.ico")));
        QCOMPARE(control.MediaType, QStringLiteral("ERR"));
        QCOMPARE(control.MediaDescription, QStringLiteral("ERR"));
        QCOMPARE(control.MediaWidth, -1);
        QCOMPARE(control.MediaColors, -1);
        QCOMPARE(control.MediaFileSize, qint64(-1));
        QVERIFY(!control.ReadMediaInfo(data("missing.png")));
        QCOMPARE(control.MediaFileSize, qint64(-1));
    }

    void readingTheNameLoadsAgain()
    {
        TPMultiMedia control;
        control.setMediaName(data("scene-64x48.gif"));
        control.setPicture(TPicture());
        QCOMPARE(control.MediaName(), data("scene-64x48.gif").toUpper());
        QVERIFY(control.Picture().isBitmap());
    }

    void pictureChangedSizesAndMarksOpaque()
    {
        TPMultiMedia control;
        control.setAutoSize(true);
        control.setPicture(TPicture::fromBitmap(solid(120, 80, qRgb(1, 2, 3))));
        QCOMPARE(control.size(), QSize(120, 80));
        QVERIFY(control.testAttribute(Qt::WA_OpaquePaintEvent));
        control.setAutoSize(false);
        control.resize(200, 200);
        control.setPicture(TPicture::fromBitmap(solid(120, 80, qRgb(1, 2, 3))));
        QVERIFY(!control.testAttribute(Qt::WA_OpaquePaintEvent));
        control.setPicture(TPicture());
        QCOMPARE(control.size(), QSize(200, 200));
    }

    void stretchRatioPlacesThePicture_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("area");
        QTest::newRow("200 x 200") << QSize(200, 200) << QRect(0, 25, 200, 150);
        QTest::newRow("400 x 100") << QSize(400, 100) << QRect(133, 0, 133, 100);
    }

    void stretchRatioPlacesThePicture()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, area);
        TPMultiMedia control;
        control.resize(client);
        control.setStretchRatio(true);
        control.setPicture(TPicture::fromBitmap(solid(400, 300, qRgb(200, 0, 0))));
        QCOMPARE(areaOf(shot(control), qRgb(200, 0, 0)), area);
        control.setStretch(true);
        QCOMPARE(areaOf(shot(control), qRgb(200, 0, 0)), QRect(QPoint(0, 0), client));
    }

    void centredPictures()
    {
        TPMultiMedia control;
        control.resize(101, 101);
        control.setCenter(true);
        control.setPicture(TPicture::fromBitmap(solid(50, 50, qRgb(0, 150, 0))));
        QCOMPARE(areaOf(shot(control), qRgb(0, 150, 0)), QRect(25, 25, 50, 50));
        // Larger than the control: cut evenly, its pixel (99, 99) at the corner.
        QImage large = solid(300, 300, qRgb(0, 0, 150));
        large.setPixel(99, 99, qRgb(250, 250, 0));
        large.setPixel(199, 199, qRgb(250, 0, 250));
        control.setPicture(TPicture::fromBitmap(large));
        const QImage seen = shot(control);
        QCOMPARE(seen.pixel(0, 0), qRgb(250, 250, 0));
        QCOMPARE(seen.pixel(100, 100), qRgb(250, 0, 250));
        control.setCenter(false);
        QCOMPARE(shot(control).pixel(99, 99), qRgb(250, 250, 0));
    }

    void simplePaintingAndTheBorder()
    {
        TPMultiMedia control;
        control.resize(100, 100);
        control.setPicture(TPicture::fromBitmap(solid(40, 20, qRgb(0, 0, 200))));
        // Without the codec palette the simpler drawing runs: proportional fit has no effect
        // there, and centring uses the control's outer size.
        control.setImageLibPalette(false);
        control.setStretchRatio(true);
        QCOMPARE(areaOf(shot(control), qRgb(0, 0, 200)), QRect(0, 0, 40, 20));
        control.setStretchRatio(false);
        control.setCenter(true);
        control.setBorderStyle(bsSingle);
        QCOMPARE(control.contentsRect(), QRect(1, 1, 98, 98));
        // The 100 x 100 outer size centres it at (30, 40), one pixel in for the border.
        QCOMPARE(areaOf(shot(control), qRgb(0, 0, 200)), QRect(31, 41, 40, 20));
        const QImage framed = shot(control);
        QVERIFY(framed.pixel(0, 50) != framed.pixel(1, 50));
    }

    void rotatedTextAndItsShadow()
    {
        TPMultiMedia control;
        control.resize(200, 200);
        QPalette colours = control.palette();
        colours.setColor(QPalette::Window, Qt::white);
        colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
        control.setPalette(colours);
        QFont font = control.font();
        font.setPixelSize(20);
        control.setFont(font);
        control.setText(QStringLiteral("HHHH"));
        control.setTextLeft(100);
        control.setTextTop(150);
        control.setTextRotate(90);
        const QRect text = areaOf(shot(control), qRgb(255, 0, 0));
        // Written upward from (100, 150): above the origin, within a line's height right of it.
        QVERIFY2(text.isValid(), "no text drawn");
        QVERIFY(text.bottom() <= 150);
        QVERIFY(text.top() < 150 - 30);
        QVERIFY(text.left() >= 100 && text.right() <= 100 + 22);

        control.setTextShadowColor(QColor(0, 0, 255));
        control.setTextShadow(true);
        const QImage seen = shot(control);
        const QRect shadow = areaOf(seen, qRgb(0, 0, 255));
        QVERIFY(shadow.isValid());
        QCOMPARE(shadow.bottom(), areaOf(seen, qRgb(255, 0, 0)).bottom() + 2);
        QVERIFY(shadow.right() >= text.right() + 1);

        // Opaque text fills its cell with the canvas brush (white) over the picture.
        control.setPicture(TPicture::fromBitmap(solid(200, 200, qRgb(0, 80, 0))));
        control.setTextShadow(false);
        control.setTextRotate(0);
        control.setTextLeft(10);
        control.setTextTop(10);
        control.setTextTransParent(false);
        QVERIFY(areaOf(shot(control), qRgb(255, 255, 255)).isValid());
        control.setTextTransParent(true);
        QVERIFY(!areaOf(shot(control), qRgb(255, 255, 255)).isValid());
    }

    void clipboardByCallsAndKeys()
    {
        TPMultiMedia control;
        const QImage picture = solid(30, 20, qRgb(9, 99, 199));
        control.setPicture(TPicture::fromBitmap(picture));
        QGuiApplication::clipboard()->clear();
        control.CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 picture);
        QVERIFY(control.Picture().isBitmap());
        control.CutToClipboard();
        QVERIFY(control.Picture().isEmpty());
        control.PasteFromClipboard();
        QCOMPARE(control.Picture().image().convertToFormat(QImage::Format_RGB32), picture);

        // Text on the clipboard is no picture: nothing changes.
        QGuiApplication::clipboard()->setText(QStringLiteral("words"));
        control.PasteFromClipboard();
        QCOMPARE(control.Picture().image().convertToFormat(QImage::Format_RGB32), picture);

        // The keys, after the owner has seen them.
        int ownerSaw = 0;
        connect(&control, &TPMultiMedia::OnKeyDown, this, [&](QKeyEvent *key) {
            if (key->key() != Qt::Key_Control && key->key() != Qt::Key_Shift)
                ++ownerSaw;
        });
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&control, Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(!QGuiApplication::clipboard()->image().isNull());
        QTest::keyClick(&control, Qt::Key_Delete, Qt::ShiftModifier);
        QVERIFY(control.Picture().isEmpty());
        QTest::keyClick(&control, Qt::Key_Insert, Qt::ShiftModifier);
        QVERIFY(control.Picture().isBitmap());
        QTest::keyClick(&control, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(control.Picture().isEmpty());
        QTest::keyClick(&control, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(control.Picture().isBitmap());
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&control, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!QGuiApplication::clipboard()->image().isNull());
        QCOMPARE(ownerSaw, 6);
    }

    void scaledPicturesAreDrawnFromTheDecodedOne()
    {
        // A photograph's worth of one-pixel stripes: sampled without enough pixels it
        // turns into bands of black and white instead of grey.
        QImage stripes(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < stripes.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(stripes.scanLine(y));
            for (int x = 0; x < stripes.width(); ++x)
                line[x] = x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
        TPMultiMedia control;
        control.setPicture(TPicture::fromBitmap(stripes));
        control.setStretchRatio(true);
        for (const QSize fit : {QSize(100, 100), QSize(1148, 765), QSize(421, 301)}) {
            control.resize(fit);
            const QImage shown = shot(control);
            const int y = shown.height() / 2;
            int darkest = 255;
            int lightest = 0;
            for (int x = shown.width() / 4; x < shown.width() * 3 / 4; ++x) {
                darkest = std::min(darkest, qRed(shown.pixel(x, y)));
                lightest = std::max(lightest, qRed(shown.pixel(x, y)));
            }
            QVERIFY2(darkest > 90 && lightest < 165,
                     qPrintable(QStringLiteral("%1 x %2: greys from %3 to %4")
                                    .arg(fit.width())
                                    .arg(fit.height())
                                    .arg(darkest)
                                    .arg(lightest)));
        }
        const qsizetype picture = control.Picture().image().sizeInBytes();
        QVERIFY(control.DrawingCacheBytes() < picture / 10);

        // Zoomed past the screen: only what is seen is drawn, and no copy of the
        // enlarged picture is made.
        const qsizetype before = control.DrawingCacheBytes();
        control.resize(8192, 5461);
        QImage seen(600, 400, QImage::Format_RGB32);
        control.render(&seen, QPoint(), QRegion(QRect(3800, 2500, 600, 400)));
        QCOMPARE(control.DrawingCacheBytes(), before);
        int darkest = 255;
        int lightest = 0;
        for (int x = 0; x < seen.width(); ++x) {
            darkest = std::min(darkest, qRed(seen.pixel(x, 200)));
            lightest = std::max(lightest, qRed(seen.pixel(x, 200)));
        }
        QVERIFY2(lightest - darkest > 150, qPrintable(QString::number(lightest - darkest)));
    }

    void onePicturePixelPerDevicePixel()
    {
        TPMultiMedia control;
        control.resize(100, 100);
        const qreal ratio = control.devicePixelRatioF();
        if (ratio == 1.0)
            QSKIP("needs a scaled screen: run with QT_SCALE_FACTOR=2");
        control.setPicture(TPicture::fromBitmap(solid(50, 50, qRgb(0, 150, 0))));
        // The grab is in device pixels: the picture keeps its 50 x 50 there.
        QCOMPARE(areaOf(shot(control), qRgb(0, 150, 0)).size(), QSize(50, 50));
        control.setStretch(true);
        QCOMPARE(areaOf(shot(control), qRgb(0, 150, 0)).size(),
                 (QSizeF(100, 100) * ratio).toSize());
    }

    void paintTellsTheOwner()
    {
        TPMultiMedia control;
        QSignalSpy painted(&control, &TPMultiMedia::OnPaint);
        shot(control);
        QCOMPARE(painted.size(), 1);
        QCOMPARE(painted.first().first().value<TPMultiMedia *>(), &control);
    }

private:
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestMultiMedia)
#include "tst_multimedia.moc"
