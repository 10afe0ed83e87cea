// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The VorodOdir slideshow and the full-screen view, driving the real window.
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/FullScrn.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "options/CheckPW.h"
#include "options/Scramble.h"
#include "platform/Platform.h"
#include "toolkit/IniFile.h"
#include "toolkit/TFileListBox.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// A folder of five pictures a.png to e.png, the window showing it.
std::unique_ptr<TKorvidForm> fiveFileForm(TestDir &dir, const QStringList &arguments = {})
{
    for (const char *name : {"a.png", "b.png", "c.png", "d.png", "e.png"})
        writePicture(dir, QLatin1String(name));
    return shownForm(arguments.isEmpty() ? QStringList{dir.path()} : arguments);
}

QString nameOf(const TKorvidForm &form)
{
    return form.CurrentFileName;
}

} // namespace

class TestSlideshow : public QObject
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

    void stepsThroughTheListAndWraps()
    {
        TestDir dir;
        auto form = fiveFileForm(dir);
        form->ShowTime = 5;
        form->UpdateOptions();
        form->FileListBox1->setItemIndex(2);
        form->SlideShowStart();
        QVERIFY(form->ShowRunning);
        QCOMPARE(nameOf(*form), QStringLiteral("c.png"));
        QCOMPARE(form->windowTitle().left(5), QStringLiteral("c.png"));
        QVERIFY(form->SlideShowTimer->isActive());
        // Five seconds from its appearance: less what opening the next picture takes.
        QVERIFY(form->SlideShowTimer->interval() <= 5000);
        QVERIFY(form->SlideShowTimer->interval() > 4000);
        QVERIFY(form->Image1->QuietMode());
        QCOMPARE(form->SlideShowBtn->icon().cacheKey() != 0, true);
        for (const char *expected : {"d.png", "e.png", "a.png", "b.png"}) {
            form->SlideShowTimerTimer();
            QCOMPARE(nameOf(*form), QLatin1String(expected));
        }
        form->SlideShowBtn->click();
        QVERIFY(!form->ShowRunning);
        QVERIFY(!form->SlideShowTimer->isActive());
        QVERIFY(!form->Image1->QuietMode());

        // No selection: the first file comes first.
        form->FileListBox1->setItemIndex(-1);
        form->SlideShowBtn->click();
        QCOMPARE(nameOf(*form), QStringLiteral("a.png"));
        form->SlideShowStop();
    }

    void emptyVanishingAndRefusedFiles()
    {
        TestDir empty;
        auto idle = shownForm({empty.path()});
        QTRY_VERIFY(!idle->FileListBox1->isLoading());
        idle->SlideShowStart();
        QVERIFY(!idle->ShowRunning);
        QCOMPARE(idle->windowTitle(), QStringLiteral("Korvid"));

        TestDir dir;
        auto form = fiveFileForm(dir);
        form->FileListBox1->setItemIndex(-1);
        form->SlideShowStart();
        QCOMPARE(nameOf(*form), QStringLiteral("a.png"));
        // The next file vanished: the show stops without a word.
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("b.png"))));
        form->SlideShowTimerTimer();
        QVERIFY(!form->ShowRunning);
        QVERIFY(m_messages.isEmpty());

        // A list that empties during the show stops it.
        form->SlideShowStart();
        QVERIFY(form->ShowRunning);
        for (const char *name : {"a.png", "c.png", "d.png", "e.png"})
            QFile::remove(dir.filePath(QLatin1String(name)));
        form->FileListBox1->Update();
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        form->SlideShowTimerTimer();
        QVERIFY(!form->ShowRunning);
    }

    void commandLineStartsTheShow()
    {
        TestDir dir;
        for (const char *name : {"a.png", "b.png"})
            writePicture(dir, QLatin1String(name));
        auto form = shownForm({QStringLiteral("/M"), dir.filePath(QStringLiteral("b.png"))});
        QTRY_VERIFY(form->ShowRunning);
        QVERIFY(!form->AutoStartShow);
        QVERIFY(!form->AutoStartMSTimer->isActive());
        QCOMPARE(nameOf(*form), QStringLiteral("b.png"));
        form->SlideShowStop();
    }

    void pauseCaptionAndBlinking()
    {
        TestDir dir;
        auto form = fiveFileForm(dir);
        form->FileListBox1->setItemIndex(0);
        form->SlideShowStart();
        const QString stem = QStringLiteral("PAUSED - a.png - PAUSED");
        form->SlideShowPause();
        QVERIFY(form->ShowPaused);
        QCOMPARE(form->PausedCaption, stem);
        QCOMPARE(form->FullScrn1->FileNameLabel->text(), stem);
        QVERIFY(!form->FullScrn1->FileNamePanel->isHidden());
        QVERIFY(form->BlinkTimer->isActive());
        QCOMPARE(form->BlinkTimer->interval(), 750);
        form->BlinkTimerTimer();
        QCOMPARE(form->FullScrn1->FileNameLabel->text(), QStringLiteral("a.png"));
        QCOMPARE(
            form->SlideShowBtn->icon().pixmap(42, 22).toImage(),
            form->StoppedGlyph.scaled(42, 22, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .toImage()
                .convertToFormat(form->SlideShowBtn->icon().pixmap(42, 22).toImage().format()));
        form->BlinkTimerTimer();
        QCOMPARE(form->FullScrn1->FileNameLabel->text(), stem);

        // Ticks while paused change nothing; a file opened meanwhile keeps the pause.
        form->SlideShowTimerTimer();
        QCOMPARE(nameOf(*form), QStringLiteral("a.png"));
        form->OpenIt(dir.filePath(QStringLiteral("d.png")));
        QVERIFY(form->ShowPaused);
        QCOMPARE(form->FullScrn1->FileNameLabel->text(), QStringLiteral("PAUSED - d.png - PAUSED"));

        // Space resumes in the main window; Esc stops even under the password.
        form->FileListBox1->setFocus();
        QTest::keyClick(form->FileListBox1, Qt::Key_Space);
        QVERIFY(!form->ShowPaused);
        QVERIFY(!form->BlinkTimer->isActive());
        QCOMPARE(form->FullScrn1->FileNameLabel->text(), QStringLiteral("d.png"));
        form->PasswordProtect = true;
        QTest::keyClick(form->FileListBox1, Qt::Key_Space);
        QVERIFY(!form->ShowPaused);
        QTest::keyClick(form->FileListBox1, Qt::Key_Escape);
        QVERIFY(!form->ShowRunning);
        form->PasswordProtect = false;

        // Space while idle pauses too: the button blinks until Space comes again.
        QTest::keyClick(form->FileListBox1, Qt::Key_Space);
        QVERIFY(form->ShowPaused);
        QVERIFY(form->BlinkTimer->isActive());
        QTest::keyClick(form->FileListBox1, Qt::Key_Space);
        QVERIFY(!form->ShowPaused);
    }

    void settingsComeBackAfterTheShow()
    {
        TestDir dir;
        auto form = fiveFileForm(dir);
        form->AutoStart = false;
        form->AutoRepeat = true;
        form->SlideShowStart();
        QVERIFY(form->AutoStart);
        QVERIFY(!form->AutoRepeat);
        QVERIFY(form->Image1->AutoPlayMultiMedia());
        QVERIFY(!form->Image1->AutoRePlayMultiMedia());
        form->close(); // stops the show first
        QVERIFY(!form->ShowRunning);
        QVERIFY(!form->AutoStart);
        QVERIFY(form->AutoRepeat);
        const IniFile ini(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        QCOMPARE(ini.readString(QStringLiteral("Korvid32"), QStringLiteral("AutoStart"), {}),
                 QStringLiteral("0"));
        QCOMPARE(ini.readString(QStringLiteral("Korvid32"), QStringLiteral("AutoRepeat"), {}),
                 QStringLiteral("1"));
    }

    void soundsPlayBesideTheSoundPicture()
    {
        const QString chime = QStringLiteral(KORVID_SAMPLES "/chime.wav");
        if (!MciExtensionKnown(QStringLiteral("WAV")))
            QSKIP("no sound device here");
        TestDir dir;
        const QString picture =
            writePicture(dir, QStringLiteral("sound-picture.png"), QSize(12, 12));
        QVERIFY(QFile::copy(chime, dir.filePath(QStringLiteral("b.wav"))));
        writePicture(dir, QStringLiteral("a.png"));
        auto form = shownForm({dir.path()});
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        form->SoundDisplay = 2;
        form->SoundImage = picture;
        form->UpdateOptions();
        form->FileListBox1->setItemIndex(1); // b.wav
        form->SlideShowStart();
        QCOMPARE(nameOf(*form), QStringLiteral("b.wav"));
        QCOMPARE(form->LastSoundPicture, picture);
        QCOMPARE(form->Image1->MediaWidth, 12);
        QCOMPARE(form->SlideShowTimer->interval(), 100);
        QTRY_COMPARE(form->MIMediaPlayer1->Mode(), mpPlaying);
        // A paused sound does not hold the show.
        form->MIMediaPlayer1->Pause();
        form->SlideShowTimerTimer();
        QCOMPARE(nameOf(*form), QStringLiteral("sound-picture.png"));
        form->SlideShowStop();
        QVERIFY(form->LastSoundPicture.isEmpty());
    }

    void pausedVideoHoldsTheShow()
    {
        if (!MciExtensionKnown(QStringLiteral("AVI")))
            QSKIP("no video device here");
        TestDir dir;
        QVERIFY(QFile::copy(QStringLiteral(KORVID_SAMPLES "/clock.avi"),
                            dir.filePath(QStringLiteral("a.avi"))));
        writePicture(dir, QStringLiteral("b.png"));
        auto form = shownForm({dir.path()});
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        form->FileListBox1->setItemIndex(0);
        form->SlideShowStart();
        QCOMPARE(nameOf(*form), QStringLiteral("a.avi"));
        QTRY_COMPARE(form->MIMediaPlayer1->Mode(), mpPlaying);
        form->MIMediaPlayer1->Pause();
        form->SlideShowTimerTimer();
        QCOMPARE(nameOf(*form), QStringLiteral("a.avi"));
        form->MIMediaPlayer1->Play();
        QTRY_VERIFY_WITH_TIMEOUT(nameOf(*form) == QStringLiteral("b.png"), 20000);
        form->SlideShowStop();
    }

    void contrastColours()
    {
        QCOMPARE(ContrastColor(0x00FFFFFF), 0x00000000);
        QCOMPARE(ContrastColor(0x00000000), 0x00FFFFFF);
        QCOMPARE(ContrastColor(0x00807F80), 0x0000FF00);
        QCOMPARE(ContrastColor(qint32(0x80000005)), qint32(0x80FFFFFF));
    }

    void fullScreenShow()
    {
        TestDir dir;
        auto form = fiveFileForm(dir);
        form->FullScreen = true;
        form->ShowProgress = false;
        form->ShowFileName = false;
        form->BackGround = 0x00FFFFFF;
        // Someone hid the pointer before: it stays hidden after the show.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        form->SlideShowStart();
        TFullScrn1 *view = form->FullScrn1;
        QTRY_VERIFY(view->isVisible());
        QVERIFY(!form->isVisible());
        QCOMPARE(form->Image1->window(), view);
        QVERIFY(view->FileNamePanel->isHidden());
        QVERIFY(view->ProgressPanel->isHidden());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QCOMPARE(view->FileNameLabel->palette().color(QPalette::WindowText), QColor(Qt::black));
        QTRY_COMPARE(form->Image1->size(), view->DisplayArea->size());

        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(form->StretchMode, int(smProportional));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(form->ShowPaused);
        QVERIFY(!view->FileNamePanel->isHidden());
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(view->FileNamePanel->isHidden());
        // Any other key ends an unprotected show.
        QTest::keyClick(view, Qt::Key_Q);
        QVERIFY(!form->ShowRunning);
        QVERIFY(!view->isVisible());
        QVERIFY(form->isVisible());
        QCOMPARE(form->Image1->parentWidget(), form->ScrollBox1->viewport());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!QGuiApplication::overrideCursor());

        form->BackGround = 0x00000000;
        form->ShowFileName = true;
        form->ShowProgress = true;
        form->SlideShowStart();
        QTRY_VERIFY(view->isVisible());
        QCOMPARE(view->FileNameLabel->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(!view->FileNamePanel->isHidden());
        QVERIFY(!view->ProgressPanel->isHidden());
        QTRY_VERIFY(view->ProgressPanel->geometry().top() > view->FileNamePanel->geometry().top());
        QCOMPARE(view->Gauge1->Progress(), 100);
        // Closed by the window manager: the show ends and the window comes back.
        QVERIFY(!view->close());
        QVERIFY(!form->ShowRunning);
        QVERIFY(!view->isVisible());
        QVERIFY(form->isVisible());
    }

    void passwordGuardsTheFullScreenShow()
    {
        TestDir dir;
        auto form = fiveFileForm(dir);
        form->FullScreen = true;
        form->PasswordProtect = true;
        form->Password = ScramblePassword(QStringLiteral("letmeout"));
        form->SlideShowStart();
        TFullScrn1 *view = form->FullScrn1;
        QTRY_VERIFY(view->isVisible());
        QVERIFY(view->Locked());
        // Without a desktop display there is nothing to hold: the show says so and runs.
        QVERIFY(!view->Holding());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.front().text.startsWith(
            QLatin1String("This session cannot lock the screen: there is no desktop display")));

        const auto answer = [&](const QString &text) {
            QTimer::singleShot(0, form.get(), [&form, text] {
                QTRY_VERIFY(form->CheckPWDlg->isVisible());
                form->CheckPWDlg->PasswordEB->setText(text);
                form->CheckPWDlg->OKBtn->click();
            });
        };
        // Space and F2 ask too; a wrong password leaves the show running, unpaused.
        form->ShowPaused = true;
        answer(QStringLiteral("wrong"));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(form->ShowRunning);
        QVERIFY(!form->ShowPaused);
        QVERIFY(view->Locked());
        answer(QStringLiteral("wrong"));
        QTest::keyClick(view, Qt::Key_F2);
        QVERIFY(form->ShowRunning);
        QCOMPARE(form->StretchMode, int(smNormal));
        // The start/stop command asks as well; the right password in any case stops.
        answer(QStringLiteral("LetMeOut"));
        form->VorodOdirStartStop1Click();
        QVERIFY(!form->ShowRunning);
        QVERIFY(!view->isVisible());
        QVERIFY(!view->Locked());
    }

private:
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestSlideshow)
#include "tst_slideshow.moc"
