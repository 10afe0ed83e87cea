// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window showing files: opening from the list, the caption, display modes,
// scrolling, zoom, videos, refusals and keys, on real files driving the real window.
#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/Caption.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "display/codec/DecodeContext.h"
#include "common/WidgetTestHelpers.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "platform/Platform.h"
#include "toolkit/IniFile.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

void waitForList(TFileListBox *list)
{
    QTRY_VERIFY_WITH_TIMEOUT(!list->isLoading(), 20000);
}

} // namespace

class TestMainView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup() { SetMessageDlgScript({}); }

    void openingAPictureSetsCaptionAndButtons()
    {
        TestDir dir;
        QVERIFY(QFile::copy(TestDataDir() + QStringLiteral("/scene-64x48.jpg"),
                            dir.filePath(QStringLiteral("scene.jpg"))));
        auto form = shownForm({dir.filePath(QStringLiteral("scene.jpg"))});
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("scene.jpg")));
        QCOMPARE(form->CurrentFileName, QStringLiteral("scene.jpg"));
        QCOMPARE(form->MediaKind, int(mkImage));
        QVERIFY(form->HasPicture);
        const QFileInfo info(form->CurrentFile);
        const QString expected =
            QStringLiteral("scene.jpg - %1 bytes %2 - 64 x 48 Pixels x 16M Colors")
                .arg(info.size())
                .arg(FileDateTimeText(info.lastModified(), QLocale()));
        QCOMPARE(form->windowTitle(), expected);
        QCOMPARE(form->Gauge1->value(), 100);
        // Normal mode: no zoom; a picture: no player.
        QVERIFY(!form->InSBtn->isEnabled());
        QVERIFY(!form->MIMediaPlayer1->button(btPlay)->isEnabled());

        form->ShowFileInfo = false;
        form->DisplayStats(form->CurrentFile);
        QCOMPARE(form->windowTitle(), QStringLiteral("scene.jpg - 64 x 48 Pixels x 16M Colors"));

        // F3 switches to the proportional fit and allows zooming.
        form->FileListBox1->setFocus();
        QTest::keyClick(form->FileListBox1, Qt::Key_F3);
        QCOMPARE(form->StretchMode, int(smProportional));
        QVERIFY(form->ProportionalSBtn->isChecked());
        QVERIFY(form->Image1->StretchRatio());
        QVERIFY(form->InSBtn->isEnabled());
        QTest::keyClick(form->FileListBox1, Qt::Key_F4);
        QVERIFY(form->Image1->Stretch() && !form->Image1->StretchRatio());
        QTest::keyClick(form->FileListBox1, Qt::Key_F2);
        QVERIFY(!form->Image1->Stretch() && !form->Image1->StretchRatio());
        QVERIFY(!form->InSBtn->isEnabled());
    }

    void normalModeCentresAndScrolls()
    {
        TestDir dir;
        const QString small = writePicture(dir, QStringLiteral("small.png"), QSize(40, 30));
        const QString large = writePicture(dir, QStringLiteral("large.png"), QSize(2000, 1500));
        auto form = shownForm();
        form->resize(700, 500);
        QTRY_COMPARE(form->width(), 700);
        const QSize box = form->ScrollBox1->maximumViewportSize();

        form->OpenIt(small);
        QCOMPARE(form->Image1->size(), box);
        QVERIFY(!form->ScrollBox1->horizontalScrollBar()->isVisible());
        QVERIFY(!form->ScrollBox1->verticalScrollBar()->isVisible());

        form->OpenIt(large);
        QCOMPARE(form->Image1->size(), QSize(2000, 1500));
        // Centred in the viewport that the scroll bars leave, once the box has laid them out.
        const QWidget *view = form->ScrollBox1->viewport();
        QTRY_COMPARE(form->ScrollBox1->horizontalScrollBar()->value(), (2000 - view->width()) / 2);
        QTRY_COMPARE(form->ScrollBox1->verticalScrollBar()->value(), (1500 - view->height()) / 2);

        // Fit modes span the box without scroll bars.
        form->ProportionalSBtn->click();
        QCOMPARE(form->Image1->size(), form->ScrollBox1->maximumViewportSize());
    }

    void zoomStepsAndLimits()
    {
        TestDir dir;
        const QString path = writePicture(dir, QStringLiteral("z.png"), QSize(300, 200));
        auto form = shownForm();
        form->OpenIt(path);
        form->FullSBtn->click();
        // A 400-pixel display: 20 % larger per step, 16 % smaller.
        form->Image1->resize(400, 300);
        form->CalcZoom();
        QCOMPARE(form->ZoomInStep, 20);
        QCOMPARE(form->ZoomOutStep, 16);
        form->InSBtn->click();
        QCOMPARE(form->Image1->size(), QSize(480, 360));
        QTRY_COMPARE(form->ScrollBox1->horizontalScrollBar()->value(),
                     qMax(0, (480 - form->ScrollBox1->viewport()->width()) / 2));
        int steps = 0;
        while (form->Image1->width() < 8192 && ++steps < 100)
            form->ZoomIn();
        const QSize top = form->Image1->size();
        QVERIFY(top.width() >= 8192);
        form->ZoomIn();
        QCOMPARE(form->Image1->size(), top);

        // Zooming out stops once the display fits the box again.
        steps = 0;
        const QSize client = form->ScrollBox1->viewport()->size();
        while ((form->Image1->width() > client.width() || form->Image1->height() > client.height())
               && ++steps < 200)
            form->OutSBtn->click();
        const QSize fitted = form->Image1->size();
        form->OutSBtn->click();
        QCOMPARE(form->Image1->size(), fitted);

        // A resize starts the fit again.
        form->resize(form->width() + 10, form->height());
        QTRY_COMPARE(form->Image1->size(), form->ScrollBox1->maximumViewportSize());
    }

    void listOpensByClickDoubleClickAndEnter()
    {
        TestDir dir;
        const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(8, 8));
        const QString b = writePicture(dir, QStringLiteral("b.png"), QSize(9, 9));
        writePicture(dir, QStringLiteral("c.png"), QSize(10, 10));
        auto form = shownForm({a});
        TFileListBox *list = form->FileListBox1;
        waitForList(list);
        list->setFocus();
        QCOMPARE(form->CurrentFile, a);

        // Single click: every change of the selection opens.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(form->CurrentFile, b);

        // Double click: a click or an arrow only selects; a double click or Enter opens.
        form->SingleClick = false;
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->FileName(), dir.filePath(QStringLiteral("c.png")));
        QCOMPARE(form->CurrentFile, b);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("c.png")));
        const QPoint first = list->visualRect(list->model()->index(0, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("c.png")));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QCOMPARE(form->CurrentFile, a);

        // Enter, arrows and mode keys do nothing while a file is being opened.
        form->SingleClick = true;
        form->Opening = true;
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_F3);
        QCOMPARE(list->ItemIndex(), 0);
        QCOMPARE(form->StretchMode, int(smNormal));
        form->OpenIt(b);
        QCOMPARE(form->CurrentFile, a);
        form->Opening = false;

        // A right click opens what lies under the mouse; below the last file it changes
        // nothing.
        QTest::mousePress(list->viewport(), Qt::RightButton, {},
                          list->visualRect(list->model()->index(1, 0)).center());
        QCOMPARE(form->CurrentFile, b);
        QTest::mousePress(list->viewport(), Qt::RightButton, {},
                          QPoint(5, list->viewport()->height() - 2));
        QCOMPARE(list->ItemIndex(), 1);
        QCOMPARE(form->CurrentFile, b);
    }

    void refusedFiles()
    {
        TestDir dir;
        const QString text = dir.write(QStringLiteral("notes.txt"));
        const QString gone = writePicture(dir, QStringLiteral("gone.png"), QSize(4, 4));
        const QString kept = writePicture(dir, QStringLiteral("kept.PNG"), QSize(4, 4));
        auto form = shownForm({kept});
        waitForList(form->FileListBox1);
        QCOMPARE(form->FileListBox1->count(), 2);
        const QString caption = form->windowTitle();

        form->OpenIt(text);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().caption, QStringLiteral("Unable to open file"));
        QCOMPARE(m_messages.first().text, QStringLiteral("Invalid file type or name!"));
        QCOMPARE(m_messages.first().icon, QMessageBox::Critical);
        QCOMPARE(form->MediaKind, int(mkInvalid));
        QCOMPARE(form->CurrentFile, kept);
        QCOMPARE(form->windowTitle(), caption);

        // A file that vanished also leaves the list; during a show nothing is said.
        QVERIFY(QFile::remove(gone));
        form->ShowRunning = true;
        form->OpenIt(gone);
        form->ShowRunning = false;
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(form->FileListBox1->count(), 1);
        QCOMPARE(form->FileListBox1->itemText(0), QStringLiteral("kept.PNG"));
    }

    void unreadableFiles()
    {
        TestDir dir;
        const QString icon = dir.write(QStringLiteral("broken.ico"), QByteArray("not an icon"));
        const QString jpeg = dir.write(QStringLiteral("broken.jpg"), QByteArray("no jpeg"));
        auto form = shownForm();
        form->OpenIt(icon);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Error reading file!!"));
        QVERIFY(!form->HasPicture);
        QCOMPARE(form->windowTitle().left(12), QStringLiteral("broken.ico -"));
        QVERIFY(!form->Opening);

        form->OpenIt(jpeg);
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages.last().text, QStringLiteral("Reading jpg file failed"));
        QVERIFY(!form->HasPicture);
        QVERIFY(!form->InSBtn->isEnabled());
    }

    void navigationControlsFollowEachOther()
    {
        // A machine without a video device.
        const QString platformIni = QDir(ConfigDir()).filePath(QStringLiteral("platform.ini"));
        {
            QFile file(platformIni);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[mci extensions]\nAVI=none\nMOV=none\n");
        }
        const auto removeIni = qScopeGuard([&] { QFile::remove(platformIni); });
        TestDir dir;
        dir.write(QStringLiteral("sub/clip.avi"));
        writePicture(dir, QStringLiteral("sub/x.png"), QSize(4, 4));
        dir.write(QStringLiteral("sub/readme.txt"));
        dir.write(QStringLiteral("sub/z-rather-long-file-name-for-scrolling-sideways.bmp"));
        auto form = shownForm({dir.path()});

        for (int i = 0; i < form->FilterComboBox1->count(); ++i) {
            QVERIFY(form->FilterComboBox1->itemText(i) != QLatin1String("AVI"));
            QVERIFY(form->FilterComboBox1->itemText(i) != QLatin1String("MOV"));
        }
        QCOMPARE(form->FilterComboBox1->itemText(0), QStringLiteral("All MultiMedia Files"));
        QVERIFY(!form->MediaFilter.contains(QStringLiteral("*.AVI;*.MID")));

        // Entering a folder in the directory list: the files and the drive follow.
        TDirectoryListBox *dirs = form->DirectoryListBox1;
        const QList<QListWidgetItem *> found =
            dirs->findItems(QStringLiteral("sub"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dirs->setCurrentItem(found.first());
        dirs->setFocus();
        QTest::keyClick(dirs, Qt::Key_Return);
        QCOMPARE(dirs->Directory(), dir.filePath(QStringLiteral("sub")));
        QCOMPARE(form->FileListBox1->Directory(), dir.filePath(QStringLiteral("sub")));
        QCOMPARE(form->DriveComboBox1->Drive(), TDriveComboBox::DriveOf(dirs->Directory()));
        QVERIFY(dirs->horizontalExtent() > dirs->folderPictureWidth());
        waitForList(form->FileListBox1);
        QCOMPARE(form->FileListBox1->count(), 2);
        QVERIFY(form->FileListBox1->WidestEntry()
                > form->FileListBox1->fontMetrics().horizontalAdvance(
                    QStringLiteral("z-rather-long-file-name")));

        // The media-type box sets the list's mask; the groups stay without a device.
        form->FilterComboBox1->setCurrentIndex(
            form->FilterComboBox1->findText(QStringLiteral("Videos Only")));
        waitForList(form->FileListBox1);
        QCOMPARE(form->FileListBox1->count(), 1);
        QCOMPARE(form->FileListBox1->itemText(0), QStringLiteral("clip.avi"));
        form->FilterComboBox1->setCurrentIndex(
            form->FilterComboBox1->findText(QStringLiteral("PNG")));
        waitForList(form->FileListBox1);
        QCOMPARE(form->FileListBox1->count(), 1);
        QCOMPARE(form->FileListBox1->itemText(0), QStringLiteral("x.png"));
    }

    void splitterBarsResizeLiveAndAreKept()
    {
        TestDir dir;
        const QString path = writePicture(dir, QStringLiteral("s.png"), QSize(50, 50));
        auto form = shownForm({path});
        form->ProportionalSBtn->click();
        QWidget *bar = form->findChild<QWidget *>(QStringLiteral("HSlidePanel1"));
        QVERIFY(bar);
        const int panel = form->ControlPanel1->width();
        const QPoint grip(bar->width() / 2, bar->height() / 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 0)),
                         bar->mapToGlobal(QPointF(grip + QPoint(40, 0))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        // Live: the panel and the fitted display follow while the bar is still held.
        const int moved = form->ControlPanel1->width();
        QVERIFY2(qAbs(moved - (panel + 40)) <= 1, qPrintable(QString::number(moved)));
        QTRY_COMPARE(form->Image1->size(), form->ScrollBox1->maximumViewportSize());
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(40, 0));
        form->close();
        const IniFile ini(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        QCOMPARE(ini.readInteger(QStringLiteral("Korvid32"), QStringLiteral("CtrlPanelWidth"), 0),
                 moved);
    }

    void driveThatIsNotReady()
    {
        TestDir dir;
        auto form = shownForm({dir.path()});
        const QString before = form->DriveComboBox1->Drive();
        form->DriveComboBox1->setDrive(dir.filePath(QStringLiteral("no-such-volume")));
        form->DriveComboBox1Change();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("The selected drive is not ready."));
        QCOMPARE(form->DriveComboBox1->Drive(), before);
        QCOMPARE(form->DirectoryListBox1->Directory(), dir.path());
    }

    void keysUnderPasswordAndHelp()
    {
        TestDir dir;
        const QString path = writePicture(dir, QStringLiteral("k.png"), QSize(4, 4));
        auto form = shownForm({path});
        form->PasswordProtect = true;
        form->DirectoryListBox1->setFocus();
        for (const Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_Space})
            QTest::keyClick(form->DirectoryListBox1, key);
        QCOMPARE(form->StretchMode, int(smNormal));
        form->PasswordProtect = false;
        QTest::keyClick(form->DirectoryListBox1, Qt::Key_F4);
        QCOMPARE(form->StretchMode, int(smFull));

        QSignalSpy help(form.get(), &TKorvidForm::HelpRequested);
        const QList<QPair<QWidget *, int>> topics = {{form->DriveComboBox1, 104},
                                                     {form->FilterComboBox1, 105},
                                                     {form->DirectoryListBox1, 106},
                                                     {form->FileListBox1, 107},
                                                     {static_cast<QWidget *>(form->Image1), 112},
                                                     {form->SlideShowBtn, 112}};
        for (const auto &[widget, topic] : topics) {
            widget->setFocus(Qt::OtherFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), widget);
            QTest::keyClick(widget, Qt::Key_F1);
            QCOMPARE(help.count(), 1);
            QCOMPARE(help.takeFirst().at(0).toInt(), topic);
        }
        QCOMPARE(form->HelpTopicOf(form->NoneSBtn), 7);
        QCOMPARE(form->HelpTopicOf(form.get()), 418);
    }

    void loadProgressStopsWhenClosing()
    {
        auto form = shownForm();
        QCOMPARE(form->LoadProgress(42), 1);
        QCOMPARE(form->Gauge1->value(), 42);
        form->close();
        QCOMPARE(form->LoadProgress(50), 0);
    }

    void prefetchedNeighboursShowTheSame()
    {
        TestDir dir;
        const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(300, 200));
        const QString b = writePicture(dir, QStringLiteral("b.png"), QSize(320, 240));
        auto form = shownForm({a});
        waitForList(form->FileListBox1);
        form->OpenIt(a);
        QTRY_VERIFY(form->Image1->Prefetch()->isReady(b));

        // The file changes after it was decoded ahead: the new contents are shown.
        QImage changed(120, 90, QImage::Format_RGB32);
        changed.fill(Qt::blue);
        QVERIFY(changed.save(b, "PNG"));
        QFile file(b);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
        file.close();
        form->FileListBox1->setFocus();
        QTest::keyClick(form->FileListBox1, Qt::Key_Down);
        QCOMPARE(form->CurrentFile, b);
        QCOMPARE(form->Image1->MediaWidth, 120);
        QCOMPARE(form->Image1->Picture().image().pixelColor(5, 5), QColor(Qt::blue));
        QVERIFY(form->windowTitle().endsWith(QStringLiteral("120 x 90 Pixels x 16M Colors")));

        // Stepping back shows the kept picture, the same as reading it afresh.
        QTest::keyClick(form->FileListBox1, Qt::Key_Up);
        QCOMPARE(form->CurrentFile, a);
        QCOMPARE(form->Image1->Picture().image().size(), QSize(300, 200));
        QCOMPARE(form->Image1->Picture().image().pixelColor(0, 0), QColor(200, 40, 90));
    }

    // The neighbours decoded ahead and the picture on show stay within the decode limit
    // together.
    void prefetchKeepsWithinTheLimitBesideTheShownPicture()
    {
        TestDir dir;
        QStringList files;
        for (const char *name : {"a.png", "b.png", "c.png", "d.png"})
            files.append(writePicture(dir, QLatin1String(name), QSize(3000, 2000)));
        const qint64 picture = qint64(3000) * 2000 * 4;
        const qint64 before = DecodeLimit();
        SetDecodeLimit(picture * 5 / 2);
        const auto restore = qScopeGuard([before] { SetDecodeLimit(before); });
        auto form = shownForm({files.at(1)});
        waitForList(form->FileListBox1);
        QCOMPARE(form->Image1->Picture().image().size(), QSize(3000, 2000));
        TPicturePrefetch *prefetch = form->Image1->Prefetch();
        QTRY_VERIFY(prefetch->isReady(files.at(0)) || prefetch->isReady(files.at(2)));
        QTest::qWait(300);
        QVERIFY2(prefetch->heldBytes() + picture <= DecodeLimit(),
                 qPrintable(QStringLiteral("%1 bytes ahead beside %2 on show, limit %3")
                                .arg(prefetch->heldBytes())
                                .arg(picture)
                                .arg(DecodeLimit())));
    }

    void videoIsLaidOutInTheBox()
    {
        const QString clip = QStringLiteral(KORVID_SAMPLES "/clock.avi");
        if (!QFileInfo(clip).isFile() || !MciExtensionKnown(QStringLiteral("AVI")))
            QSKIP("no playable video here");
        auto form = shownForm();
        form->VideoScale = 2;
        form->OpenIt(clip);
        if (!m_messages.isEmpty())
            QSKIP("the media engine refused the video here");
        QCOMPARE(form->MediaKind, int(mkVideo));
        QVERIFY(!form->HasPicture);
        QVERIFY(form->MIMediaPlayer1->button(btStop)->isEnabled());
        QTRY_COMPARE(form->VideoRect.Right, 160);
        QCOMPARE(form->VideoRect.Bottom, 120);
        QCOMPARE(form->Image1->MediaWidth, 160);
        const QSize client = form->ScrollBox1->viewport()->size();
        QCOMPARE(form->MIMediaPlayer1->DisplayRect(),
                 QRect(client.width() / 2 - 160, client.height() / 2 - 120, 320, 240));
        form->ProportionalSBtn->click();
        QCOMPARE(form->MIMediaPlayer1->DisplayRect(),
                 VideoDestination(smProportional, form->VideoRect, form->Image1->geometry(),
                                  form->ScrollBox1->viewport()->rect(), 2));
        form->MIMediaPlayer1->Close();
    }

private:
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestMainView)
#include "tst_mainview.moc"
