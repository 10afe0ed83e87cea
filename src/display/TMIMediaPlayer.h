// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QRect>
#include <QVideoFrame>
#include <QWidget>

class QAudioOutput;
class QMediaPlayer;
class QToolButton;
class QVideoSink;

// Modes a media device can be in.
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// The buttons of the player bar.
enum TMPBtnType { btPlay, btPause, btStop, btPrev };

// The media player bar: Play, Pause, Stop and Previous buttons over one playing device
// (Qt Multimedia on GStreamer). Owners choose which buttons show and enable them
// themselves. Video frames go to the display widget, which draws them in DisplayRect.
class TMIMediaPlayer : public QWidget
{
    Q_OBJECT
public:
    explicit TMIMediaPlayer(QWidget *parent = nullptr);
    ~TMIMediaPlayer() override;

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    // The next Open or Close waits until the device has finished.
    bool Wait() const { return m_wait; }
    void setWait(bool wait) { m_wait = wait; }
    bool AutoRewind() const { return m_autoRewind; }
    void setAutoRewind(bool value) { m_autoRewind = value; }

    // Opens FileName; false (with ErrorString) when the device refuses it.
    bool Open();
    void Close();
    // Plays from the current position, from the start when standing at the end (with
    // AutoRewind); false when the device cannot play.
    bool Play();
    void Pause();
    void Stop();
    // Back to the start.
    void Previous();

    TMPModes Mode() const;
    // Milliseconds; Position reaches Length at the end of the media. -1 when unknown.
    qint64 Position() const;
    qint64 Length() const;
    QString ErrorString() const { return m_error; }

    // Where on the display widget video frames are drawn, and the frame last delivered.
    QRect DisplayRect() const { return m_displayRect; }
    void setDisplayRect(const QRect &rect);
    QWidget *Display() const { return m_display; }
    void setDisplay(QWidget *display);
    QVideoFrame currentFrame() const { return m_frame; }
    // The video's source rectangle as the media reports it (from its first frame when it
    // tells nothing); empty for sounds and while unknown.
    QRect SourceRect() const;
    // The video's own size, empty for sounds.
    QSize videoSize() const { return m_frame.isValid() ? m_frame.size() : QSize(); }

    void setButtonVisible(TMPBtnType button, bool visible);
    void setButtonEnabled(TMPBtnType button, bool enabled);
    void setButtonsEnabled(bool enabled);
    QToolButton *button(TMPBtnType button) const;

    // The underlying player, for the display control's progress and tests.
    QMediaPlayer *player() const { return m_player; }

Q_SIGNALS:
    // A new video frame arrived.
    void FrameChanged();

private:
    bool waitFor(const std::function<bool()> &done, int milliseconds);

    QMediaPlayer *m_player;
    QAudioOutput *m_audio;
    QVideoSink *m_sink;
    QToolButton *m_buttons[4] = {};
    QString m_fileName;
    QString m_error;
    // The engine keeps its last error across sources: this says whether the media opened
    // last has failed.
    bool m_failed = false;
    bool m_wait = false;
    bool m_autoRewind = true;
    QRect m_displayRect;
    QPointer<QWidget> m_display;
    QVideoFrame m_frame;
};
