// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: the VorodOdir slideshow through the file list.
#include "app/Main.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>

#include "app/FullScrn.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "options/CheckPW.h"
#include "platform/InputLock.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/ShownName.h"

namespace {

// Polling while a sound or video plays, and the time of a picture that failed to load.
constexpr int PlayingPollMs = 100;

} // namespace

void TKorvidForm::SlideShowStart()
{
    if (FileListBox1->count() == 0)
        return;
    // Said before the show covers the screen, while the one who starts it is there to read
    // it; the show then runs, its stopping still guarded by the password.
    if (FullScreen && PasswordProtect) {
        const QString why = InputLock::Unavailable();
        if (!why.isEmpty())
            MessageDlg(this, ApplicationTitle, ShowWithoutLockText(why), QMessageBox::Warning);
    }
    Image1->setMediaName(QString());
    setWindowTitle(ApplicationTitle);
    FullScrn1->FileNameLabel->clear();
    Image1->setQuietMode(true);

    BlinkTimer->stop();
    ShowPaused = false;
    ShowRunning = true;
    SlideShowBtn->setIcon(RunningGlyph);
    if (SlideShowBtn->isHidden())
        ShowIndicator();

    m_pacer.reset();
    SavedAutoStart = AutoStart;
    SavedAutoRepeat = AutoRepeat;
    AutoStart = true;
    AutoRepeat = false;

    // One up, so the next step shows the selected file first.
    const int row = FileListBox1->ItemIndex();
    if (row >= 0 && FileListBox1->FileName().size() > 0)
        FileListBox1->setItemIndex(row - 1);

    if (FullScreen) {
        FullScrn1->ShowProgressLine = ShowProgress;
        FullScrn1->ShowFileNameLine = ShowFileName;
        SavedImageParent = Image1->parentWidget();
        ScrollBox1->takeWidget();
        FullScrn1->Lend(Image1);
        FullScrn1->showFullScreen();
        hide();
        PopupAuto = false;
    }
    UpdateOptions();
    SlideShowNext();
}

void TKorvidForm::SlideShowNext()
{
    if (ShowPaused)
        return;
    SlideShowTimer->stop();
    Gauge1->setValue(100);
    FullScrn1->Gauge1->setProgress(100);
    const int count = FileListBox1->count();
    if (count == 0) {
        SlideShowStop();
        return;
    }
    const int next = FileListBox1->ItemIndex() + 1;
    FileListBox1->setItemIndex(next < count ? next : 0);
    QElapsedTimer opening;
    opening.start();
    OpenIt(FileListBox1->FileName());
    m_pacer.opened(int(opening.elapsed()));
    if (MediaKind == mkInvalid) {
        SlideShowStop();
        return;
    }
    if (ShowRunning) {
        // A picture's time counts from when it appears (see SlidePacer).
        SlideShowTimer->setInterval(MediaKind == mkImage && Image1->MediaWidth > 0
                                        ? m_pacer.interval(ShowTime * 1000)
                                        : PlayingPollMs);
        SlideShowTimer->start();
    }
}

void TKorvidForm::SlideShowTimerTimer()
{
    if (!ShowRunning) {
        SlideShowTimer->stop();
        return;
    }
    const TMPModes mode = MIMediaPlayer1->Mode();
    bool advance = false;
    switch (MediaKind) {
    case mkImage:
        advance = true;
        break;
    case mkSong:
    case mkWave:
        advance = mode != mpPlaying;
        break;
    default:
        // A video the user paused holds the show.
        advance = mode == mpStopped;
        break;
    }
    if (advance)
        SlideShowNext();
}

void TKorvidForm::SlideShowPause()
{
    ShowPaused = !ShowPaused;
    if (ShowPaused) {
        if (MIMediaPlayer1->Mode() == mpPlaying)
            MIMediaPlayer1->Pause();
        FullScrn1->ShowIt(true);
        PausedCaption = QStringLiteral("PAUSED - %1 - PAUSED").arg(ShownName(CurrentFileName));
        FullScrn1->FileNameLabel->setText(PausedCaption);
        BlinkOn = true;
        BlinkTimer->start();
    } else {
        if (MIMediaPlayer1->Mode() == mpPaused)
            MIMediaPlayer1->Play();
        FullScrn1->ShowIt(ShowFileName);
        FullScrn1->FileNameLabel->setText(ShownName(CurrentFileName));
        SlideShowBtn->setIcon(RunningGlyph);
        BlinkTimer->stop();
    }
}

void TKorvidForm::BlinkTimerTimer()
{
    BlinkOn = !BlinkOn;
    FullScrn1->FileNameLabel->setText(BlinkOn ? PausedCaption : ShownName(CurrentFileName));
    SlideShowBtn->setIcon(BlinkOn ? RunningGlyph : StoppedGlyph);
}

void TKorvidForm::SlideShowStop()
{
    BlinkTimer->stop();
    SlideShowTimer->stop();
    ShowRunning = false;
    ShowPaused = false;
    SlideShowBtn->setIcon(StoppedGlyph);
    HideIndicator();

    Image1->setQuietMode(false);
    AutoStart = SavedAutoStart;
    AutoRepeat = SavedAutoRepeat;
    LastSoundPicture.clear();

    if (MediaKind == mkVideo)
        Image1->StopMedia();
    if (MediaKind == mkSong || MediaKind == mkWave || MediaKind == mkVideo)
        MIMediaPlayer1->setButtonsEnabled(false);

    if (FullScrn1->isVisible() || Image1->parentWidget() != ScrollBox1->viewport()) {
        FullScrn1->GiveBack(Image1);
        ScrollBox1->setWidget(Image1);
        FullScrn1->hide();
        Image1->setMediaName(QString());
        show();
        PopupAuto = true;
        SetScrollBox();
        CenterScrollBox();
    }
    SavedImageParent = nullptr;
    if (Sounds1->MediaPlayer())
        Sounds1->MediaPlayer()->Close();
    UpdateOptions();
}

void TKorvidForm::SlideShowBtnClick()
{
    if (ShowRunning)
        SlideShowStop();
    else
        SlideShowStart();
}

void TKorvidForm::VorodOdirStartStop1Click()
{
    if (ShowRunning && PasswordProtect && FullScreen) {
        if (CheckPassword(FullScrn1))
            SlideShowStop();
    } else if (ShowRunning) {
        SlideShowStop();
    } else {
        SlideShowStart();
    }
}

void TKorvidForm::AutoStartMSTimerTimer()
{
    if (!isVisible() || !AutoStartShow)
        return;
    AutoStartShow = false;
    AutoStartMSTimer->stop();
    SlideShowStart();
}

bool TKorvidForm::CheckPassword(QWidget *parent)
{
    // The view's hold goes on while the prompt asks: the prompt's keys reach it within the
    // hold. A key that reaches the view while the prompt is up asks nothing more.
    if (CheckPWDlg->isVisible())
        return false;
    CheckPWDlg->setParent(parent, CheckPWDlg->windowFlags());
    CheckPWDlg->Password = Password;
    return CheckPWDlg->exec() == QDialog::Accepted;
}

void TKorvidForm::ShowIndicator()
{
    if (!Indicator) {
        Indicator = new QLabel(ToolPanel);
        Indicator->setObjectName(QStringLiteral("Indicator"));
        Indicator->setPixmap(RunningGlyph);
        Indicator->adjustSize();
        Indicator->move(SlideShowBtn->pos() + QPoint(3, 3));
    }
    Indicator->show();
}

void TKorvidForm::HideIndicator()
{
    delete Indicator;
    Indicator = nullptr;
}
