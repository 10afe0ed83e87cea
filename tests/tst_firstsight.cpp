// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A large photograph as the main window first shows it, on a real X server with a window
// manager: fitted from a reduced decode, centred from a decoded part, and whole as soon as
// normal mode, zoom, the clipboard or printing need it.
#include <QApplication>
#include <QClipboard>
#include <QColorSpace>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QtMath>

#include <cmath>

#include <tiffio.h>

#include "common/ImageCompare.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/XSession.h"
#include "display/PaintGeometry.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "platform/Platform.h"

namespace {

// Smooth waves: scaled by any good method the result is the same within a level or two.
QImage wavePicture(QSize size, int phase)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(128 + int(100 * std::sin((x + phase) / 197.0)),
                           128 + int(100 * std::sin(y / 151.0)),
                           128 + int(90 * std::sin((x + y) / 233.0)));
    }
    return image;
}

void writeSettings(const QByteArray &korvidSection)
{
    TestDir::writeFile(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")),
                       "[Korvid32]\n" + korvidSection);
}

QImage wholeOf(const QString &path)
{
    QImage image;
    ReadJpgFile(path, 24, 1, image, {});
    return image.convertToFormat(QImage::Format_RGB32);
}

// One page of 8-bit RGB.
bool writeTiffPage(TIFF *tif, const QImage &picture, uint32_t subfileType)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, subfileType);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(rgb.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(rgb.height()));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(64));
    for (int y = 0; y < rgb.height(); ++y)
        if (TIFFWriteScanline(tif, const_cast<uchar *>(rgb.constScanLine(y)), uint32_t(y), 0) < 0)
            return false;
    return TIFFWriteDirectory(tif) != 0;
}

// A picture with a reduced-resolution copy of itself, as the first page's sub-image or as
// the second page.
bool writePyramid(const QString &path, const QImage &picture, QSize reduced, bool subImage)
{
    TIFF *tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tif)
        return false;
    toff_t placeholder[1] = {0};
    if (subImage)
        TIFFSetField(tif, TIFFTAG_SUBIFD, uint16_t(1), placeholder);
    const bool ok =
        writeTiffPage(tif, picture, 0)
        && writeTiffPage(tif,
                         picture.scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                         FILETYPE_REDUCEDIMAGE);
    TIFFClose(tif);
    return ok;
}

bool maximise(TKorvidForm *form)
{
    form->showMaximized();
    const int screenWidth = form->screen()->availableGeometry().width();
    return QTest::qWaitFor(
        [form, screenWidth] {
            return form->isMaximized() && form->ScrollBox1->width() > screenWidth / 2
                   && form->Image1->size() == form->ScrollBox1->maximumViewportSize();
        },
        10000);
}

// What the display shows of the picture where it fits it keeping its shape.
QRect fittedTarget(const TPMultiMedia *display)
{
    const QSize area = display->contentsRect().size();
    return StretchRatioRect(area.width(), area.height(), display->PictureSize().width(),
                            display->PictureSize().height());
}

// How far what the display shows differs from the whole picture scaled smoothly to the
// fitted rectangle; the outermost pixels depend on how each method treats the edge.
int fittedDifference(TPMultiMedia *display, const QImage &whole)
{
    const QRect target = fittedTarget(display);
    const QImage shown = display->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected =
        whole.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect inner = QRect(QPoint(0, 0), target.size()).adjusted(2, 2, -2, -2);
    return MaxDifference(shown.copy(target).copy(inner), expected.copy(inner));
}

} // namespace

class TestFirstSight : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
        m_photo = m_dir.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(wavePicture(QSize(6000, 4000), 0).save(m_photo, "JPEG", 92));
        m_whole = wholeOf(m_photo);
        QCOMPARE(m_whole.size(), QSize(6000, 4000));
        // The same photograph tagged Adobe RGB, whose colours are converted as it is read.
        QImage tagged = wavePicture(QSize(6000, 4000), 0);
        tagged.setColorSpace(QColorSpace::AdobeRgb);
        m_adobePhoto = m_dir.filePath(QStringLiteral("adobe.jpg"));
        QVERIFY(tagged.save(m_adobePhoto, "JPEG", 92));
        m_adobeWhole = wholeOf(m_adobePhoto);
        QVERIFY(MaxDifference(m_adobeWhole, m_whole) > 10);
    }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        ProgressCallback = nullptr;
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup()
    {
        QVERIFY2(m_messages.isEmpty(),
                 qPrintable(QStringLiteral("unexpected message: ") + m_messages.value(0).text));
    }

    void fittedFromAReducedDecode_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("default size") << false;
        QTest::newRow("maximised") << true;
    }

    // Opened from the command line in proportional mode: the picture drawn is the whole
    // picture scaled by Qt's smooth scaling, from a decode that holds far fewer pixels,
    // and everything that reports the picture names its full size.
    void fittedFromAReducedDecode()
    {
        QFETCH(bool, maximised);
        writeSettings("StretchMode=1\n");
        auto form = shownForm({m_photo});
        if (maximised)
            QVERIFY(maximise(form.get()));
        TPMultiMedia *display = form->Image1;
        const QRect target = fittedTarget(display);
        // A decode that started for the window before it was maximised is followed by one
        // for the larger fit.
        QTRY_VERIFY_WITH_TIMEOUT(display->Picture().image().width() >= target.width()
                                     && display->Picture().image().height() >= target.height(),
                                 10000);
        QVERIFY(!display->HasWholePicture());
        QVERIFY2(display->Picture().image().width() <= target.width() * 2,
                 qPrintable(QString::number(display->Picture().image().width())));
        QCOMPARE(display->PictureSize(), QSize(6000, 4000));
        QCOMPARE(display->MediaWidth, 6000);
        QCOMPARE(display->MediaHeight, 4000);
        QVERIFY2(form->windowTitle().contains(QStringLiteral("6000")),
                 qPrintable(form->windowTitle()));

        // The reduced decode alone is within 2 levels (codec tests); drawing it onto the
        // screen's rectangle adds one.
        const int worst = fittedDifference(display, m_whole);
        QVERIFY2(worst >= 0 && worst <= 3, qPrintable(QString::number(worst)));
    }

    // Normal mode, zooming past the reduced picture, the clipboard and a print each get
    // the whole picture.
    void wholeWhenNeeded()
    {
        writeSettings("StretchMode=1\n");
        {
            auto form = shownForm({m_photo});
            QVERIFY(!form->Image1->HasWholePicture());
            QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(form->Image1->HasWholePicture(), 10000);
            QCOMPARE(form->Image1->Picture().image().convertToFormat(QImage::Format_RGB32),
                     m_whole);
            // What the display shows is the picture's middle, one pixel per pixel.
            const QWidget *view = form->ScrollBox1->viewport();
            const QPoint scroll(form->ScrollBox1->horizontalScrollBar()->value(),
                                form->ScrollBox1->verticalScrollBar()->value());
            const QImage seen = form->Image1->grab(QRect(scroll, view->size())).toImage();
            QCOMPARE(seen.convertToFormat(QImage::Format_RGB32),
                     m_whole.copy(QRect(scroll, view->size())));
        }
        {
            auto form = shownForm({m_photo});
            const int reduced = form->Image1->Picture().image().width();
            QVERIFY(reduced < 6000);
            for (int i = 0; i < 40 && form->Image1->width() <= reduced + 2; ++i)
                QTest::mouseClick(form->InSBtn, Qt::LeftButton);
            QVERIFY(form->Image1->width() > reduced + 2);
            QTRY_VERIFY_WITH_TIMEOUT(form->Image1->Picture().image().width()
                                         >= fittedTarget(form->Image1).width(),
                                     10000);
        }
        {
            auto form = shownForm({m_photo});
            QVERIFY(!form->Image1->HasWholePicture());
            form->Image1->CopyToClipboard();
            QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                     m_whole);
        }
        {
            auto form = shownForm({m_photo});
            QVERIFY(!form->Image1->HasWholePicture());
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            const QString pdf = m_dir.filePath(QStringLiteral("print.pdf"));
            printer.setOutputFileName(pdf);
            QString error;
            QVERIFY2(form->Image1->PrintPicture(&printer, 0, 0, 0, 0, &error), qPrintable(error));
            QProcess list;
            list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
            if (!list.waitForFinished(30000) || list.exitCode() != 0)
                QSKIP("pdfimages (poppler-utils) is needed to look into the print");
            QVERIFY2(list.readAllStandardOutput().contains(" 6000  4000 "),
                     "the print is not whole");
        }
    }

    // At its own size the middle of the picture is decoded before the window shows, the
    // rest follows and nothing else changes.
    void normalModeShowsTheMiddleFirst()
    {
        TKorvidForm form({m_photo});
        TPMultiMedia *display = form.Image1;
        QVERIFY(!display->HasWholePicture());
        QVERIFY(display->Picture().image().width() < 6000);
        QCOMPARE(display->PictureSize(), QSize(6000, 4000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY_WITH_TIMEOUT(display->HasWholePicture(), 10000);
        QCOMPARE(display->Picture().image().convertToFormat(QImage::Format_RGB32), m_whole);
        QCOMPARE(display->size(), QSize(6000, 4000));
    }

    // In normal mode the rest of the picture shows row by row as it is read: the top-left
    // corner, far from the middle read first, is drawn before the whole picture arrives,
    // and in its final colours where the picture's profile converts them.
    void restShowsAsItArrives_data()
    {
        QTest::addColumn<bool>("adobe");
        QTest::newRow("sRGB photograph") << false;
        QTest::newRow("Adobe RGB photograph") << true;
    }

    void restShowsAsItArrives()
    {
        QFETCH(bool, adobe);
        const QImage whole = adobe ? m_adobeWhole : m_whole;
        TKorvidForm form({adobe ? m_adobePhoto : m_photo});
        TPMultiMedia *display = form.Image1;
        QVERIFY(!display->HasWholePicture());
        bool looked = false;
        QImage corner;
        ProgressCallback = [&](int percent) {
            if (!looked && percent >= 40 && percent < 100 && !display->HasWholePicture()) {
                looked = true;
                corner = display->grab(QRect(0, 0, 300, 40)).toImage();
            }
            return 1;
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY_WITH_TIMEOUT(display->HasWholePicture(), 10000);
        ProgressCallback = nullptr;
        QVERIFY2(looked, "the background read was never seen under way");
        QCOMPARE(corner.convertToFormat(QImage::Format_RGB32), whole.copy(0, 0, 300, 40));
    }

    // Stopping the background read keeps the first sight on show without a word; a copy
    // asks for the whole picture again.
    void stopKeepsTheFirstSight()
    {
        writeSettings("StretchMode=1\n");
        auto form = shownForm({m_photo});
        bool stop = true;
        int asked = 0;
        ProgressCallback = [&](int) {
            ++asked;
            return stop ? 0 : 1;
        };
        QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
        QTRY_VERIFY(asked > 0);
        QTest::qWait(1000);
        QVERIFY(!form->Image1->HasWholePicture());
        QVERIFY(!form->Image1->Picture().isEmpty());
        stop = false;
        form->Image1->CopyToClipboard();
        QVERIFY(form->Image1->HasWholePicture());
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(6000, 4000));
        ProgressCallback = nullptr;
    }

    // A file replaced on disk after its first sight is shown and reported as it is now.
    void fileChangedBeforeTheRest()
    {
        writeSettings("StretchMode=1\n");
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("changing.jpg"));
        QVERIFY(QFile::copy(m_photo, path));
        auto form = shownForm({path});
        QVERIFY(!form->Image1->HasWholePicture());
        QVERIFY(wavePicture(QSize(4000, 3000), 500).save(path, "JPEG", 92));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
        file.close();
        QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(form->Image1->HasWholePicture(), 10000);
        QCOMPARE(form->Image1->Picture().image().size(), QSize(4000, 3000));
        QCOMPARE(form->Image1->MediaWidth, 4000);
        QTRY_VERIFY2(form->windowTitle().contains(QStringLiteral("4000")),
                     qPrintable(form->windowTitle()));
        QCOMPARE(form->Image1->size(), QSize(4000, 3000));
    }

    // A photograph whose data ends early shows what it holds, first and whole, as a plain
    // read of it does.
    void truncatedShowsWhatItHolds_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::newRow("normal") << QByteArray();
        QTest::newRow("proportional") << QByteArray("StretchMode=1\n");
    }

    void truncatedShowsWhatItHolds()
    {
        QFETCH(QByteArray, settings);
        writeSettings(settings);
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.jpg"));
        const QByteArray data = TestDir::readFile(m_photo);
        TestDir::writeFile(path, data.left(data.size() * 6 / 10));
        auto form = shownForm({path});
        QCOMPARE(form->Image1->PictureSize(), QSize(6000, 4000));
        QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(form->Image1->HasWholePicture(), 10000);
        const QImage shown = form->Image1->Picture().image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(6000, 4000));
        QCOMPARE(shown.copy(0, 0, 6000, 100), m_whole.copy(0, 0, 6000, 100));
        // The same as a plain read of the file gives.
        QCOMPARE(shown, wholeOf(path));
    }

    void tiffReducedCopyFirst_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("subImage");
        QTest::addColumn<QSize>("reduced");
        QTest::addColumn<bool>("used");
        QTest::newRow("sub-image, maximised") << true << true << QSize(1500, 1000) << true;
        QTest::newRow("second page, default size") << false << false << QSize(750, 500) << true;
        QTest::newRow("too small for the window") << true << false << QSize(450, 300) << false;
    }

    // A TIFF that holds a reduced-resolution copy large enough for the fitted display
    // shows that copy first and reads the page itself when normal mode needs it.
    void tiffReducedCopyFirst()
    {
        QFETCH(bool, maximised);
        QFETCH(bool, subImage);
        QFETCH(QSize, reduced);
        QFETCH(bool, used);
        writeSettings("StretchMode=1\n");
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("scan.tif"));
        const QImage page = wavePicture(QSize(3000, 2000), 40);
        QVERIFY(writePyramid(path, page, reduced, subImage));
        auto form = shownForm({path});
        if (maximised)
            QVERIFY(maximise(form.get()));
        TPMultiMedia *display = form->Image1;
        QTRY_VERIFY_WITH_TIMEOUT(!display->Picture().isEmpty(), 10000);
        QCOMPARE(display->PictureSize(), QSize(3000, 2000));
        QCOMPARE(display->MediaWidth, 3000);
        if (used) {
            QCOMPARE(display->Picture().image().size(), reduced);
            QVERIFY(!display->HasWholePicture());
            const int worst = fittedDifference(display, page);
            QVERIFY2(worst >= 0 && worst <= 3, qPrintable(QString::number(worst)));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(display->HasWholePicture(), 10000);
        }
        QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(display->HasWholePicture(), 10000);
        QCOMPARE(display->Picture().image().convertToFormat(QImage::Format_RGB32),
                 page.convertToFormat(QImage::Format_RGB32));
    }

private:
    TestDir m_dir;
    QString m_photo;
    QImage m_whole;
    QString m_adobePhoto;
    QImage m_adobeWhole;
    QList<MessageDlgCall> m_messages;
};

KORVID_XSESSION_MAIN(TestFirstSight)
#include "tst_firstsight.moc"
