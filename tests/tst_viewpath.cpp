// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The display area as a user meets it, on a real X server with a window manager: big
// photographs opened from the command line, fit modes and zoom from the tool panel and
// the keys, maximising, the splitter, videos and sounds after pictures.
#include <QApplication>
#include <QImage>
#include <QMediaPlayer>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>
#include <QToolButton>

#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/TestMedia.h"
#include "common/XSession.h"
#include "display/PaintGeometry.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "platform/Platform.h"
#include "toolkit/TFileListBox.h"

namespace {

QSize fittedSize(const TKorvidForm *form)
{
    return form->ScrollBox1->maximumViewportSize();
}

QSize zoomedIn(const QSize &fit)
{
    const int step = qMin(fit.width() / 20, 100);
    return QSize(MulDiv(fit.width(), 100 + step, 100), MulDiv(fit.height(), 100 + step, 100));
}

// Maximises through the window manager and waits until the display area has followed.
bool maximise(TKorvidForm *form)
{
    form->showMaximized();
    const int screenWidth = form->screen()->availableGeometry().width();
    return QTest::qWaitFor(
        [form, screenWidth] {
            return form->isMaximized() && form->width() >= screenWidth - 16
                   && form->ScrollBox1->width() > screenWidth / 2;
        },
        10000);
}

// Where the display shows the middle of what it shows.
void verifyCentred(const TKorvidForm *form)
{
    const QSize view = form->ScrollBox1->viewport()->size();
    QVERIFY2(form->Image1->width() > view.width() && form->Image1->height() > view.height(),
             "the picture is larger than the display area in normal mode");
    QTRY_COMPARE(form->ScrollBox1->horizontalScrollBar()->value(),
                 (form->Image1->width() - view.width()) / 2);
    QTRY_COMPARE(form->ScrollBox1->verticalScrollBar()->value(),
                 (form->Image1->height() - view.height()) / 2);
}

// Notes in wrong when the zoom steps are not those of the display as it is now.
void checkStepsFollowDisplay(const TKorvidForm *form, const char *after, QStringList &wrong)
{
    const int width = form->Image1->width();
    const int in = qMin(width / 20, 100);
    const int out = qMin(width / 25, 50);
    if (form->ZoomInStep != in || form->ZoomOutStep != out)
        wrong.append(QStringLiteral("after %1: steps %2/%3 for a display %4 wide, not %5/%6")
                         .arg(QLatin1String(after))
                         .arg(form->ZoomInStep)
                         .arg(form->ZoomOutStep)
                         .arg(width)
                         .arg(in)
                         .arg(out));
}

bool sizeWithinLimits(const QSize &size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxZoomExtent
           && size.height() <= MaxZoomExtent;
}

QString sizeText(const QSize &size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

class TestViewPath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
        m_big = m_pictures.filePath(QStringLiteral("big-6000x4000.jpg"));
        writeJpeg(m_big, QSize(6000, 4000));
        m_mid = m_pictures.filePath(QStringLiteral("mid-3000x2000.jpg"));
        writeJpeg(m_mid, QSize(3000, 2000));
        // A folder whose first picture is the big one.
        QVERIFY(QDir().mkpath(m_pictures.filePath(QStringLiteral("folder"))));
        QVERIFY(QFile::copy(m_big, m_pictures.filePath(QStringLiteral("folder/a-first.jpg"))));
        QVERIFY(QFile::copy(m_mid, m_pictures.filePath(QStringLiteral("folder/b-second.jpg"))));
    }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup()
    {
        SetMessageDlgScript({});
        QVERIFY2(m_messages.isEmpty(),
                 qPrintable(QStringLiteral("unexpected message: ") + m_messages.value(0).text));
    }

    void zoomFromTheProportionalFit_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("default size") << false;
        QTest::newRow("maximised") << true;
    }

    // F3 then the zoom buttons: one step from the fitted size, back to it and never
    // beyond the largest display.
    void zoomFromTheProportionalFit()
    {
        QFETCH(bool, maximised);
        auto form = shownForm({m_big});
        QCOMPARE(form->size(), QSize(554, 380));
        if (maximised)
            QVERIFY(maximise(form.get()));
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("F3")}));
        QTRY_COMPARE(form->StretchMode, int(smProportional));
        const QSize fit = fittedSize(form.get());
        QCOMPARE(form->Image1->size(), fit);
        QVERIFY(form->InSBtn->isEnabled());

        QTest::mouseClick(form->InSBtn, Qt::LeftButton);
        QCOMPARE(form->Image1->size(), zoomedIn(fit));

        QTest::mouseClick(form->OutSBtn, Qt::LeftButton);
        QVERIFY2(sizeWithinLimits(form->Image1->size()),
                 qPrintable(QStringLiteral("zoom out gave ") + sizeText(form->Image1->size())));
        QVERIFY2(form->Image1->width() >= fit.width() && form->Image1->height() >= fit.height(),
                 qPrintable(QStringLiteral("zoom out went below the fit: ")
                            + sizeText(form->Image1->size())));

        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(form->InSBtn, Qt::LeftButton);
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(form->OutSBtn, Qt::LeftButton);
            QVERIFY2(sizeWithinLimits(form->Image1->size()),
                     qPrintable(QStringLiteral("zoom out gave ") + sizeText(form->Image1->size())));
        }
        QCOMPARE(form->Image1->size(), fit);

        for (int i = 0; i < 25; ++i) {
            QTest::mouseClick(form->InSBtn, Qt::LeftButton);
            QVERIFY2(sizeWithinLimits(form->Image1->size()),
                     qPrintable(QStringLiteral("zoom in %1 gave %2")
                                    .arg(i + 1)
                                    .arg(sizeText(form->Image1->size()))));
        }
    }

    // The steps are worked out from the display as it is, whatever changed its size.
    void zoomStepsFollowTheDisplay()
    {
        QStringList wrong;
        auto form = shownForm({m_big});
        checkStepsFollowDisplay(form.get(), "opening", wrong);
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("F3")}));
        QTRY_COMPARE(form->StretchMode, int(smProportional));
        checkStepsFollowDisplay(form.get(), "F3", wrong);
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("F4")}));
        QTRY_COMPARE(form->StretchMode, int(smFull));
        checkStepsFollowDisplay(form.get(), "F4", wrong);
        QTest::mouseClick(form->ProportionalSBtn, Qt::LeftButton);
        QCOMPARE(form->StretchMode, int(smProportional));
        checkStepsFollowDisplay(form.get(), "the proportional button", wrong);

        QVERIFY(maximise(form.get()));
        checkStepsFollowDisplay(form.get(), "maximising", wrong);

        // Drag the splitter handle 150 pixels to the right. (A drag by xdotool's pointer
        // does not reach the handle under Xvfb, so the mouse is Qt Test's.)
        QSplitterHandle *handle = form->MainSplitter->handle(1);
        const int widthBefore = form->ScrollBox1->width();
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(150, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(150, 0));
        QTRY_VERIFY2(form->ScrollBox1->width() < widthBefore - 100, "the splitter did not move");
        QCOMPARE(form->Image1->size(), fittedSize(form.get()));
        checkStepsFollowDisplay(form.get(), "moving the splitter", wrong);

        QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
        QCOMPARE(form->StretchMode, int(smNormal));
        checkStepsFollowDisplay(form.get(), "the normal button", wrong);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    // A display 2500 pixels wide or more: its zoom-in step is large, and the way back
    // must still end on the fit.
    void zoomOnAWideFit()
    {
        auto form = shownForm({m_big});
        // The fit first: widening the window then works the steps out from the fitted
        // display itself.
        QTest::mouseClick(form->ProportionalSBtn, Qt::LeftButton);
        QCOMPARE(form->StretchMode, int(smProportional));
        // Openbox lets a program make its window wider than the screen.
        form->resize(3000, 900);
        if (!QTest::qWaitFor([&form] { return form->ScrollBox1->width() >= 2600; }, 5000))
            QSKIP("the window manager keeps the window narrower than 3000 pixels");
        const QSize fit = fittedSize(form.get());
        QVERIFY(fit.width() >= 2500);
        QCOMPARE(form->Image1->size(), fit);
        QTest::mouseClick(form->InSBtn, Qt::LeftButton);
        QVERIFY2(sizeWithinLimits(form->Image1->size()),
                 qPrintable(QStringLiteral("zoom in gave ") + sizeText(form->Image1->size())));
        QTest::mouseClick(form->OutSBtn, Qt::LeftButton);
        QVERIFY2(sizeWithinLimits(form->Image1->size()),
                 qPrintable(QStringLiteral("zoom out gave ") + sizeText(form->Image1->size())));
        QCOMPARE(form->Image1->size(), fit);
    }

    void ctrlWheelZoomsAroundThePointer_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QPointF>("share");
        QTest::newRow("default size, upper left") << false << QPointF(0.2, 0.25);
        QTest::newRow("maximised, lower right") << true << QPointF(0.8, 0.7);
    }

    // Ctrl and the real wheel over the fitted picture: the steps of the zoom buttons, and
    // the point under the pointer stays there. Without Ctrl the wheel does not zoom; in
    // normal mode it scrolls.
    void ctrlWheelZoomsAroundThePointer()
    {
        QFETCH(bool, maximised);
        QFETCH(QPointF, share);
        auto form = shownForm({m_big});
        if (maximised)
            QVERIFY(maximise(form.get()));
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("F3")}));
        QTRY_COMPARE(form->StretchMode, int(smProportional));
        const QSize fit = fittedSize(form.get());
        QCOMPARE(form->Image1->size(), fit);

        const QPoint spot(qRound(fit.width() * share.x()), qRound(fit.height() * share.y()));
        const QPoint pointer = form->Image1->mapToGlobal(spot);
        MovePointerForReal(pointer);
        const auto wheel = [](const QString &button, bool ctrl) {
            if (ctrl)
                XDoTool({QStringLiteral("keydown"), QStringLiteral("ctrl")});
            XDoTool({QStringLiteral("click"), button});
            if (ctrl)
                XDoTool({QStringLiteral("keyup"), QStringLiteral("ctrl")});
        };
        // Where the pointer is, as a share of the display.
        const auto shareUnderPointer = [&form, pointer] {
            const QPoint at = form->Image1->mapFromGlobal(pointer);
            return QPointF(double(at.x()) / form->Image1->width(),
                           double(at.y()) / form->Image1->height());
        };

        wheel(QStringLiteral("4"), false);
        QTest::qWait(200);
        QCOMPARE(form->Image1->size(), fit);

        wheel(QStringLiteral("4"), true);
        QTRY_COMPARE(form->Image1->size(), zoomedIn(fit));
        QVERIFY(form->ScrollBox1->horizontalScrollBar()->maximum() > 0);
        QTRY_VERIFY2(
            (shareUnderPointer() - share).manhattanLength() < 2.0 / fit.width(),
            qPrintable(QStringLiteral("the pointer is over %1,%2 of the display, not %3,%4")
                           .arg(shareUnderPointer().x())
                           .arg(shareUnderPointer().y())
                           .arg(share.x())
                           .arg(share.y())));
        // The second step is the zoom button's as well.
        const QSize twice = ZoomedIn(zoomedIn(fit), form->ZoomInStep);
        wheel(QStringLiteral("4"), true);
        QTRY_COMPARE(form->Image1->size(), twice);
        QVERIFY((shareUnderPointer() - share).manhattanLength() < 2.0 / fit.width());
        wheel(QStringLiteral("5"), true);
        wheel(QStringLiteral("5"), true);
        QTRY_COMPARE(form->Image1->size(), fit);

        QTest::mouseClick(form->NoneSBtn, Qt::LeftButton);
        QTRY_COMPARE(form->Image1->size(), QSize(6000, 4000));
        const int top = form->ScrollBox1->verticalScrollBar()->value();
        wheel(QStringLiteral("5"), false);
        QTRY_VERIFY(form->ScrollBox1->verticalScrollBar()->value() > top);
        wheel(QStringLiteral("4"), true);
        QTest::qWait(200);
        QCOMPARE(form->Image1->size(), QSize(6000, 4000));
    }

    void fitBandsShowTheBackground_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("default size") << false;
        QTest::newRow("maximised") << true;
    }

    // After the picture at its own size, the fit leaves bands beside it: they show the
    // window's background, not what the picture drew there before.
    void fitBandsShowTheBackground()
    {
        QFETCH(bool, maximised);
        auto form = shownForm({m_big});
        if (maximised)
            QVERIFY(maximise(form.get()));
        QTRY_VERIFY(form->HasPicture && form->Image1->HasWholePicture());
        QTest::qWait(300);
        QTest::mouseClick(form->ProportionalSBtn, Qt::LeftButton);
        TPMultiMedia *display = form->Image1;
        QTRY_COMPARE(display->size(), fittedSize(form.get()));
        const QRect picture = StretchRatioRect(display->width(), display->height(), 6000, 4000);
        QVERIFY2(picture.top() >= 8, "a 3:2 picture fitted here leaves bands above and below");
        const QPoint band = display->mapToGlobal(QPoint(display->width() / 2, picture.top() / 2));
        const QRgb background = display->palette().color(QPalette::Window).rgb();
        const auto shownInBand = [&] {
            return display->screen()->grabWindow(0, band.x(), band.y(), 1, 1).toImage().pixel(0, 0);
        };
        QTRY_COMPARE(shownInBand() & 0xFFFFFFu, background & 0xFFFFFFu);
    }

    void commandLineOpensCentred_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("maximised");
        const QString folder = m_pictures.filePath(QStringLiteral("folder"));
        QTest::newRow("file, default size") << m_big << false;
        QTest::newRow("file, maximised") << m_big << true;
        QTest::newRow("folder, default size") << folder << false;
        QTest::newRow("folder, maximised") << folder << true;
    }

    // A big picture from the command line is shown from its middle, as it is when the
    // user clicks it in the list.
    void commandLineOpensCentred()
    {
        QFETCH(QString, argument);
        QFETCH(bool, maximised);
        auto form = shownForm({argument});
        if (maximised)
            QVERIFY(maximise(form.get()));
        QTRY_VERIFY(form->HasPicture);
        QCOMPARE(form->StretchMode, int(smNormal));
        QCOMPARE(form->Image1->size(), QSize(6000, 4000));
        verifyCentred(form.get());
        if (QTest::currentTestFailed())
            return;

        // The same file clicked in the list for comparison.
        const int row = form->FileListBox1->ItemIndex();
        QVERIFY(row >= 0);
        const QRect item =
            form->FileListBox1->visualRect(form->FileListBox1->model()->index(row, 0));
        form->ScrollBox1->horizontalScrollBar()->setValue(0);
        QTest::mouseClick(form->FileListBox1->viewport(), Qt::LeftButton, {}, item.center());
        verifyCentred(form.get());
    }

    void videoPlaysCentred_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("encoder");
        QTest::addColumn<QString>("muxer");
        QTest::newRow("AVI, MPEG-4") << "mpeg4.avi"
                                     << "avenc_mpeg4"
                                     << "avimux";
        QTest::newRow("AVI, H.264") << "h264.avi"
                                    << "openh264enc ! h264parse"
                                    << "avimux";
        QTest::newRow("MOV, MPEG-4") << "mpeg4.mov"
                                     << "avenc_mpeg4"
                                     << "qtmux";
    }

    // A video from the command line plays in the middle of the display area once its size
    // is known, and stays there when the window is maximised.
    void videoPlaysCentred()
    {
        QFETCH(QString, name);
        QFETCH(QString, encoder);
        QFETCH(QString, muxer);
        if (QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0")).isEmpty())
            QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make the videos");
        TestDir dir;
        const QString path = dir.filePath(name);
        if (!writeVideo(path, encoder, muxer))
            QSKIP(qPrintable(QStringLiteral("GStreamer cannot make ") + name));

        auto form = shownForm({path});
        QCOMPARE(form->MediaKind, int(mkVideo));
        QTRY_VERIFY_WITH_TIMEOUT(form->VideoRect.Right - form->VideoRect.Left > 0, 15000);
        QCOMPARE(form->VideoRect.Right - form->VideoRect.Left, 320);
        QCOMPARE(form->VideoRect.Bottom - form->VideoRect.Top, 240);
        const auto misplaced = [&form](const char *when) -> QString {
            const QRect expected =
                VideoDestination(form->StretchMode, form->VideoRect, form->Image1->geometry(),
                                 form->ScrollBox1->viewport()->rect(), form->VideoScale);
            const QRect actual = form->MIMediaPlayer1->DisplayRect();
            if (QTest::qWaitFor([&] { return form->MIMediaPlayer1->DisplayRect() == expected; },
                                3000))
                return {};
            return QStringLiteral("%1: plays at %2,%3 %4x%5, not at %6,%7 %8x%9 in a %10x%11 "
                                  "display area")
                .arg(QLatin1String(when))
                .arg(actual.x())
                .arg(actual.y())
                .arg(actual.width())
                .arg(actual.height())
                .arg(expected.x())
                .arg(expected.y())
                .arg(expected.width())
                .arg(expected.height())
                .arg(form->ScrollBox1->viewport()->width())
                .arg(form->ScrollBox1->viewport()->height());
        };
        QStringList wrong;
        wrong.append(misplaced("at the default size"));

        if (form->MIMediaPlayer1->player()->playbackState() != QMediaPlayer::PlayingState)
            QTest::mouseClick(form->MIMediaPlayer1->button(btPlay), Qt::LeftButton);
        QVERIFY(maximise(form.get()));
        wrong.append(misplaced("maximised while playing"));
        wrong.removeAll(QString());
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    // A sound after a picture that needed scroll bars leaves nothing to scroll.
    void soundAfterWidePictureScrollsNothing()
    {
        TestDir dir;
        QVERIFY(QFile::copy(m_mid, dir.filePath(QStringLiteral("a-wide.jpg"))));
        QVERIFY(QFile::copy(TestDataDir() + QStringLiteral("/chime.wav"),
                            dir.filePath(QStringLiteral("b-chime.wav"))));
        auto form = shownForm({dir.filePath(QStringLiteral("a-wide.jpg"))});
        QTRY_VERIFY(form->ScrollBox1->horizontalScrollBar()->maximum() > 0);
        QVERIFY(form->ScrollBox1->verticalScrollBar()->maximum() > 0);

        const QRect item = form->FileListBox1->visualRect(form->FileListBox1->model()->index(1, 0));
        QTest::mouseClick(form->FileListBox1->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_COMPARE(form->CurrentFileName, QStringLiteral("b-chime.wav"));
        QCOMPARE(form->MediaKind, int(mkWave));
        QTRY_COMPARE(form->ScrollBox1->horizontalScrollBar()->maximum(), 0);
        QTRY_COMPARE(form->ScrollBox1->verticalScrollBar()->maximum(), 0);
    }

private:
    TestDir m_pictures;
    QString m_big;
    QString m_mid;
    QList<MessageDlgCall> m_messages;
};

KORVID_XSESSION_MAIN(TestViewPath)
#include "tst_viewpath.moc"
