// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: opening a file, the caption, display modes, scrolling, zoom and videos.
#include "app/Main.h"

#include <exception>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "app/Caption.h"
#include "app/FullScrn.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "toolkit/FreezeDrawing.h"
#include "toolkit/ShownName.h"
#include "toolkit/TFileListBox.h"

void TKorvidForm::OpenIt(const QString &fileName)
{
    if (Opening || !IsGood(fileName))
        return;
    Opening = true;
    const auto done = qScopeGuard([this] { Opening = false; });
    SlideShowTimer->stop();

    CurrentFile = fileName;
    CurrentFileName = QFileInfo(fileName).fileName();
    MIMediaPlayer1->Close();
    Image1->MediaType.clear();

    try {
        const bool sound = MediaKind == mkSong || MediaKind == mkWave;
        if (ShowRunning && sound) {
            if (SoundPicture.compare(LastSoundPicture, Qt::CaseInsensitive) != 0
                && (SoundPicture.isEmpty() || QFileInfo(SoundPicture).isFile()))
                Image1->setMediaName(SoundPicture);
            LastSoundPicture = SoundPicture;
            Sounds1->setMediaName(fileName);
            MIMediaPlayer1->Play();
        } else {
            {
                const FreezeDrawing freeze(ScrollBox1);
                // A large photograph is first read just large enough for where it will show.
                SetStretch();
                Image1->setShowArea(Image1->parentWidget() == ScrollBox1->viewport()
                                        ? ScrollClientSize()
                                        : Image1->size());
                Image1->setMediaName(fileName);
            }
            LastSoundPicture.clear();
            if (MediaKind == mkVideo) {
                const QRect source = MIMediaPlayer1->SourceRect();
                VideoRect = {source.left(), source.top(), source.left() + source.width(),
                             source.top() + source.height()};
            }
        }
    } catch (const std::exception &) {
        MessageDlg(this, ApplicationTitle, QStringLiteral("Error reading file!!"),
                   QMessageBox::Critical);
    }

    HasPicture = !Image1->MediaType.isEmpty();
    DisplayStats(fileName);
    SetStretch();
    SetScrollBox();
    CenterScrollBox();
    ShowScaleTools(StretchMode != smNormal);
    CalcZoom();

    if (HasPicture) {
        MIMediaPlayer1->setButtonsEnabled(false);
    } else {
        InSBtn->setEnabled(false);
        OutSBtn->setEnabled(false);
        if (MediaKind == mkSong || MediaKind == mkWave || MediaKind == mkVideo)
            MIMediaPlayer1->setButtonsEnabled(true);
    }
    Image1->setVisible(true);
    if (ShowRunning)
        SlideShowTimer->start();
    if (ShowPaused) {
        // The pause stays, and its caption names the new file.
        ShowPaused = false;
        SlideShowPause();
    }
    PrefetchNeighbours();
}

void TKorvidForm::PrefetchNeighbours()
{
    const int row = FileListBox1->ItemIndex();
    if (row < 0 || FileListBox1->isLoading()
        || FileListBox1->itemText(row).compare(CurrentFileName, Qt::CaseInsensitive) != 0)
        return;
    QStringList neighbours;
    const int count = FileListBox1->count();
    // After the last file a show goes on with the first.
    for (const int next : {(row + 1) % count, row - 1}) {
        if (next >= 0 && next != row)
            neighbours.append(
                QDir(FileListBox1->Directory()).filePath(FileListBox1->itemText(next)));
    }
    // The picture on show stays wished for, so stepping back to it costs nothing.
    neighbours.append(CurrentFile);
    Image1->PrefetchFiles(neighbours);
}

void TKorvidForm::DisplayStats(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.isFile())
        return;
    TCaptionFacts facts;
    facts.name = info.fileName();
    facts.size = info.size();
    facts.modified = info.lastModified();
    facts.showFileInfo = ShowFileInfo;
    facts.hasPicture = HasPicture;
    facts.width = Image1->MediaWidth;
    facts.height = Image1->MediaHeight;
    facts.colors = Image1->MediaColors;
    setWindowTitle(FileCaption(facts, QLocale()));
    FullScrn1->FileNameLabel->setText(ShownName(CurrentFileName));
}

void TKorvidForm::SetStretch()
{
    Image1->setStretch(StretchMode == smFull);
    Image1->setStretchRatio(StretchMode == smProportional);
    SetVideoStretch();
}

void TKorvidForm::SetStretchMode(int mode)
{
    StretchMode = mode;
    SetStretch();
}

void TKorvidForm::NoneSBtnClick()
{
    SetStretchMode(smNormal);
    SetScrollBox();
    CenterScrollBox();
    ShowScaleTools(false);
    // The steps follow the display's new size, not the one it had in the last mode.
    CalcZoom();
}

void TKorvidForm::ProportionalSBtnClick()
{
    SetStretchMode(smProportional);
    SetScrollBox();
    CenterScrollBox();
    ShowScaleTools(true);
    CalcZoom();
}

void TKorvidForm::FullSBtnClick()
{
    SetStretchMode(smFull);
    SetScrollBox();
    CenterScrollBox();
    ShowScaleTools(true);
    CalcZoom();
}

QSize TKorvidForm::ScrollClientSize() const
{
    return ScrollBox1->maximumViewportSize();
}

QSize TKorvidForm::ScrollBarExtents() const
{
    return QSize(ScrollBox1->verticalScrollBar()->sizeHint().width(),
                 ScrollBox1->horizontalScrollBar()->sizeHint().height());
}

QSize TKorvidForm::ScrollViewportSize() const
{
    const QSize client = ScrollClientSize();
    const QSize content = Image1->size();
    const QSize bars = ScrollBarExtents();
    bool across = content.width() > client.width();
    bool down = content.height() > client.height();
    // One bar can make room for the other necessary.
    down = down || (across && content.height() > client.height() - bars.height());
    across = across || (down && content.width() > client.width() - bars.width());
    return QSize(client.width() - (down ? bars.width() : 0),
                 client.height() - (across ? bars.height() : 0));
}

void TKorvidForm::SetScrollBox()
{
    // Lent to the full-screen view, the display fills it by the view's own layout.
    if (Image1->parentWidget() != ScrollBox1->viewport())
        return;
    QSize client = ScrollClientSize();
    // A display without a picture or video (a sound, a failed file) has nothing to scroll.
    const QSize media = HasPicture || MediaKind == mkVideo
                            ? QSize(Image1->MediaWidth, Image1->MediaHeight)
                            : QSize();
    QSize ranges = ScrollRanges(StretchMode, client, media);
    if (StretchMode == smNormal) {
        // A scroll bar in one direction takes room from the other.
        const QSize bars = ScrollBarExtents();
        const QSize without = client;
        if (ranges.width() > 0)
            client.rheight() = without.height() - bars.height();
        if (ranges.height() > 0)
            client.rwidth() = without.width() - bars.width();
        ranges = ScrollRanges(StretchMode, client, media);
        if (ranges.width() > 0)
            client.rheight() = without.height() - bars.height();
        if (ranges.height() > 0)
            client.rwidth() = without.width() - bars.width();
    }
    Image1->resize(ranges.width() > 0 ? ranges.width() : client.width(),
                   ranges.height() > 0 ? ranges.height() : client.height());
    ScrollBox1->viewport()->update();
}

void TKorvidForm::CenterScrollBox()
{
    if (Image1->parentWidget() != ScrollBox1->viewport())
        return;
    // The box shows or hides its scroll bars only later, so its viewport may still have the
    // size it had before the display changed; centre in the one it is about to have.
    const QSize client = ScrollViewportSize();
    ScrollBox1->horizontalScrollBar()->setValue(
        qMax(0, CenterPosition(Image1->width(), client.width())));
    ScrollBox1->verticalScrollBar()->setValue(
        qMax(0, CenterPosition(Image1->height(), client.height())));
}

void TKorvidForm::CalcZoom()
{
    ZoomInStep = ZoomInPercent(Image1->width());
    ZoomOutStep = ZoomOutPercent(Image1->width());
}

void TKorvidForm::ZoomIn()
{
    Image1->resize(ZoomedIn(Image1->size(), ZoomInStep));
}

void TKorvidForm::ZoomOut()
{
    // The box without scroll bars: that is the size the fit modes give the display.
    Image1->resize(ZoomedOut(Image1->size(), ScrollClientSize(), ZoomOutStep, ZoomInStep));
}

void TKorvidForm::InSBtnClick()
{
    ZoomIn();
    CenterScrollBox();
}

void TKorvidForm::OutSBtnClick()
{
    ZoomOut();
    CenterScrollBox();
}

bool TKorvidForm::Image1Wheel(QWheelEvent *event)
{
    // Without Ctrl, and in normal mode, the wheel scrolls as it always has.
    if (!(event->modifiers() & Qt::ControlModifier) || StretchMode == smNormal)
        return false;
    event->accept();
    if (!InSBtn->isEnabled())
        return true;
    constexpr int Notch = QWheelEvent::DefaultDeltasPerStep;
    WheelRemainder += event->angleDelta().y();
    const int steps = WheelRemainder / Notch;
    WheelRemainder -= steps * Notch;
    if (steps == 0)
        return true;
    // The point under the pointer, as a share of the display, stays under the pointer.
    QWidget *viewport = ScrollBox1->viewport();
    const QPointF inDisplay = event->position();
    const QPointF inViewport = Image1->mapTo(viewport, inDisplay.toPoint());
    const QSizeF before = Image1->size();
    for (int i = 0; i < qAbs(steps); ++i) {
        if (steps > 0)
            ZoomIn();
        else
            ZoomOut();
    }
    const QSizeF after = Image1->size();
    if (after == before)
        return true;
    const QPointF target(inDisplay.x() * after.width() / before.width(),
                         inDisplay.y() * after.height() / before.height());
    ScrollBox1->horizontalScrollBar()->setValue(qRound(target.x() - inViewport.x()));
    ScrollBox1->verticalScrollBar()->setValue(qRound(target.y() - inViewport.y()));
    return true;
}

void TKorvidForm::SetVideoStretch()
{
    if (MediaKind != mkVideo)
        return;
    Image1->setVisible(false);
    Image1->MediaWidth = VideoRect.Right - VideoRect.Left;
    Image1->MediaHeight = VideoRect.Bottom - VideoRect.Top;
    // In the scroll box the client is the box's own area, which is right even while the
    // box is being resized and its viewport still has the old size.
    const QWidget *parent = Image1->parentWidget();
    const QRect client = parent == ScrollBox1->viewport() ? QRect(QPoint(0, 0), ScrollClientSize())
                         : parent                         ? parent->rect()
                                                          : Image1->rect();
    const QRect destination =
        VideoDestination(StretchMode, VideoRect, Image1->geometry(), client, VideoScale);
    MIMediaPlayer1->setDisplayRect(destination);
    Image1->setVisible(true);
}

int TKorvidForm::LoadProgress(int percent)
{
    if (m_closing || QCoreApplication::closingDown())
        return 0;
    // The window answers a few dozen times a second while a picture loads; at every
    // percent it would spend longer repainting than a fitted photograph takes to decode.
    constexpr qint64 PumpMilliseconds = 30;
    if (percent == 0 || !m_lastPump.isValid()) {
        m_lastPump.start();
    } else if (m_lastPump.elapsed() >= PumpMilliseconds) {
        QCoreApplication::processEvents();
        m_lastPump.start();
    }
    Gauge1->setValue(percent);
    FullScrn1->Gauge1->setProgress(percent);
    return 1;
}
