// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TMIMediaPlayer.h"

#include <QAudioOutput>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVideoSink>

#include "display/codec/MidiCheck.h"
#include "platform/Platform.h"

namespace {

// Long enough for any local file to open; a device that takes longer has failed.
constexpr int OpenTimeoutMs = 10000;
constexpr int CloseTimeoutMs = 2000;

// Why a MIDI file (known by its content, whatever its name) must not reach the engine;
// empty for other files and for MIDI files it can read.
QString midiProblem(const QString &fileName)
{
    constexpr qint64 MaxMidiFile = qint64(16) << 20;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || !LooksLikeMidi(file.peek(12)))
        return {};
    if (file.size() > MaxMidiFile)
        return QStringLiteral("The MIDI file is too large.");
    return MidiFileProblem(file.readAll());
}

} // namespace

TMIMediaPlayer::TMIMediaPlayer(QWidget *parent)
    : QWidget(parent)
    , m_player(new QMediaPlayer(this))
    , m_audio(new QAudioOutput(this))
    , m_sink(new QVideoSink(this))
{
    setObjectName(QStringLiteral("MIMediaPlayer"));
    m_player->setAudioOutput(m_audio);
    m_player->setVideoSink(m_sink);
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error) { m_failed = error != QMediaPlayer::NoError; });
    // Frames may be announced from the engine's own threads: take them over in this one.
    connect(
        m_sink, &QVideoSink::videoFrameChanged, this,
        [this] {
            m_frame = m_sink->videoFrame();
            // No rectangle given: the frame fills the whole display.
            if (m_display && m_displayRect.isEmpty())
                m_display->update();
            else if (m_display)
                m_display->update(m_displayRect);
            Q_EMIT FrameChanged();
        },
        Qt::QueuedConnection);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    const struct
    {
        QStyle::StandardPixmap icon;
        const char *hint;
        const char *name;
    } buttons[] = {{QStyle::SP_MediaPlay, "Play", "PlayBtn"},
                   {QStyle::SP_MediaPause, "Pause", "PauseBtn"},
                   {QStyle::SP_MediaStop, "Stop", "StopBtn"},
                   {QStyle::SP_MediaSkipBackward, "Previous", "PrevBtn"}};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(buttons[i].name));
        b->setIcon(style()->standardIcon(buttons[i].icon));
        b->setToolTip(QLatin1String(buttons[i].hint));
        b->setEnabled(false);
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    connect(m_buttons[btPlay], &QToolButton::clicked, this, &TMIMediaPlayer::Play);
    connect(m_buttons[btPause], &QToolButton::clicked, this, &TMIMediaPlayer::Pause);
    connect(m_buttons[btStop], &QToolButton::clicked, this, &TMIMediaPlayer::Stop);
    connect(m_buttons[btPrev], &QToolButton::clicked, this, &TMIMediaPlayer::Previous);
}

TMIMediaPlayer::~TMIMediaPlayer()
{
    m_player->stop();
}

bool TMIMediaPlayer::waitFor(const std::function<bool()> &done, int milliseconds)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QElapsedTimer clock;
    clock.start();
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > milliseconds)
            loop.quit();
    });
    poll.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done();
}

QRect TMIMediaPlayer::SourceRect() const
{
    QSize size = m_player->metaData().value(QMediaMetaData::Resolution).toSize();
    const QList<QMediaMetaData> tracks = m_player->videoTracks();
    for (qsizetype i = 0; i < tracks.size() && size.isEmpty(); ++i)
        size = tracks.at(i).value(QMediaMetaData::Resolution).toSize();
    if (size.isEmpty() && m_frame.isValid())
        size = m_frame.size();
    return size.isEmpty() ? QRect() : QRect(QPoint(0, 0), size);
}

bool TMIMediaPlayer::Open()
{
    m_error.clear();
    m_frame = QVideoFrame();
    if (!QFileInfo(m_fileName).isFile()) {
        m_error = QStringLiteral("%1 does not exist.").arg(m_fileName);
        return false;
    }
    m_error = midiProblem(m_fileName);
    if (!m_error.isEmpty())
        return false;
    m_failed = false;
    m_player->setSource(QUrl::fromLocalFile(m_fileName));
    const bool wait = m_wait;
    m_wait = false;
    if (!wait)
        return true;
    // Opened means the device knows the media's length, or has failed.
    waitFor(
        [this] {
            const auto status = m_player->mediaStatus();
            return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::InvalidMedia
                   || m_failed;
        },
        OpenTimeoutMs);
    if (m_player->mediaStatus() != QMediaPlayer::LoadedMedia || m_failed) {
        m_error = m_failed && !m_player->errorString().isEmpty()
                      ? m_player->errorString()
                      : QStringLiteral("The media cannot be opened.");
        m_player->setSource(QUrl());
        return false;
    }
    // A video whose pictures the engine has no decoder for would play its sound over a
    // blank display: it is refused instead.
    const QString kind = KindSuffix(m_fileName);
    if ((kind == QLatin1String("AVI") || kind == QLatin1String("MOV")) && !m_player->hasVideo()) {
        m_error = QStringLiteral("The pictures of %1 cannot be decoded.").arg(m_fileName);
        m_player->setSource(QUrl());
        return false;
    }
    return true;
}

void TMIMediaPlayer::Close()
{
    m_player->stop();
    m_player->setSource(QUrl());
    m_frame = QVideoFrame();
    if (m_display)
        m_display->update();
    if (m_wait) {
        m_wait = false;
        waitFor([this] { return m_player->mediaStatus() == QMediaPlayer::NoMedia; },
                CloseTimeoutMs);
    }
}

bool TMIMediaPlayer::Play()
{
    if (m_player->source().isEmpty())
        return false;
    if (m_autoRewind && m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        m_player->setPosition(0);
    m_player->play();
    return !m_failed;
}

void TMIMediaPlayer::Pause()
{
    m_player->pause();
}

void TMIMediaPlayer::Stop()
{
    m_player->stop();
}

void TMIMediaPlayer::Previous()
{
    m_player->setPosition(0);
}

TMPModes TMIMediaPlayer::Mode() const
{
    switch (m_player->mediaStatus()) {
    case QMediaPlayer::NoMedia:
    case QMediaPlayer::InvalidMedia:
        return mpNotReady;
    case QMediaPlayer::LoadingMedia:
        return mpOpen;
    default:
        break;
    }
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return mpPlaying;
    case QMediaPlayer::PausedState:
        return mpPaused;
    default:
        return mpStopped;
    }
}

qint64 TMIMediaPlayer::Position() const
{
    if (m_player->source().isEmpty())
        return -1;
    // At the end the position is the length, whatever the last report said.
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        return m_player->duration();
    return m_player->position();
}

qint64 TMIMediaPlayer::Length() const
{
    return m_player->source().isEmpty() ? -1 : m_player->duration();
}

void TMIMediaPlayer::setDisplayRect(const QRect &rect)
{
    m_displayRect = rect;
    if (m_display)
        m_display->update();
}

void TMIMediaPlayer::setDisplay(QWidget *display)
{
    m_display = display;
}

void TMIMediaPlayer::setButtonVisible(TMPBtnType which, bool visible)
{
    m_buttons[which]->setVisible(visible);
}

void TMIMediaPlayer::setButtonEnabled(TMPBtnType which, bool enabled)
{
    m_buttons[which]->setEnabled(enabled);
}

void TMIMediaPlayer::setButtonsEnabled(bool enabled)
{
    for (QToolButton *b : m_buttons)
        b->setEnabled(enabled);
}

QToolButton *TMIMediaPlayer::button(TMPBtnType which) const
{
    return m_buttons[which];
}
