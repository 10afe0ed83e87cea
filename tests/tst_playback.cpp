// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Sounds and videos really playing through the display control and its player bar, on the
// machine's sound server (a null sink in CI).
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QStandardPaths>
#include <QProcess>
#include <QToolButton>
#include <QTest>

#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "platform/Platform.h"

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(KORVID_SAMPLES) + u'/' + name;
}

bool soundServer()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit
           && pactl.exitCode() == 0;
}

void writePlatformIni(const QByteArray &text)
{
    QFile file(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestPlayback : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        IsolateHome();
        if (!soundServer())
            QSKIP("no sound server runs (tools/start-sound-server.sh starts one)");
    }

    void init()
    {
        m_messages.clear();
        RecordMessages(m_messages);
        m_control = std::make_unique<TPMultiMedia>();
        m_player = new TMIMediaPlayer(m_control.get());
        m_player->setDisplay(m_control.get());
        m_control->setMediaPlayer(m_player);
    }

    void cleanup()
    {
        ProgressCallback = {};
        m_control.reset();
        SetMessageDlgScript({});
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")));
    }

    void everyTypePlaysToItsEnd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("video");
        for (const char *name : {"chime.wav", "tune.mid", "tune.rmi"})
            QTest::newRow(name) << QString::fromLatin1(name) << QSize();
        QTest::newRow("clock.avi") << "clock.avi" << QSize(160, 120);
        QTest::newRow("pattern.mov") << "pattern.mov" << QSize(160, 120);
    }

    void everyTypePlaysToItsEnd()
    {
        QFETCH(QString, name);
        QFETCH(QSize, video);
        if (!MciExtensionKnown(QFileInfo(name).suffix().toUpper()))
            QSKIP("the media engine cannot play this type here");
        QList<int> progress;
        ProgressCallback = [&](int percent) {
            progress.append(percent);
            return 1;
        };
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(sample(name));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.value(0).text));
        QCOMPARE(m_control->LoadedName(), sample(name).toUpper());
        QVERIFY(m_player->isVisibleTo(m_control.get()) || !m_control->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(m_player->player()->mediaStatus(), QMediaPlayer::EndOfMedia,
                                  15000);
        QVERIFY(m_player->Length() > 0);
        QCOMPARE(m_player->Position(), m_player->Length());
        QCOMPARE(m_player->Mode(), mpStopped);
        QVERIFY(!progress.isEmpty());
        if (video.isValid())
            QCOMPARE(m_player->videoSize(), video);
    }

    void replayRestartsAtTheEnd()
    {
        QList<int> progress;
        ProgressCallback = [&](int percent) {
            progress.append(percent);
            return 1;
        };
        m_control->setAutoPlayMultiMedia(true);
        m_control->setAutoRePlayMultiMedia(true);
        m_control->setMediaName(sample("chime.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->player()->mediaStatus(), QMediaPlayer::EndOfMedia,
                                  10000);
        // Within the next tick it plays again, and that tick reported 100.
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 1000);
        QVERIFY(progress.contains(100));
    }

    void withoutAutoPlayItWaitsForPlay()
    {
        if (!MciExtensionKnown("MID"))
            QSKIP("no MIDI here");
        m_control->setAutoPlayMultiMedia(false);
        m_control->setMediaName(sample("tune.mid"));
        QVERIFY(m_messages.isEmpty());
        QTest::qWait(700);
        QCOMPARE(m_player->Mode(), mpStopped);
        QCOMPARE(m_player->Position(), 0);
        QVERIFY(m_player->Play());
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
    }

    void unknownOrUnplayableTypesDoNothing()
    {
        writePlatformIni("[mci extensions]\nMOV=none\n");
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(sample("pattern.mov"));
        QCOMPARE(m_player->Mode(), mpNotReady);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(m_control->LoadedName(), QString());
    }

    void corruptMediaIsReportedEvenWhenQuiet()
    {
        TestDir dir;
        const QString corrupt = dir.write("broken.wav", QByteArray(4000, 'z'));
        m_control->setQuietMode(true);
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(corrupt);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Reading video file failed"));
        QCOMPARE(m_messages.first().icon, QMessageBox::Information);
    }

    // A video whose pictures nothing here decodes (raw pixels in an order the engine has no
    // decoder for) is reported, not played as a sound over a blank display.
    void undecodableVideoIsReported()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0")).isEmpty())
            QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make the video");
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("bgr.mov"));
        QProcess gst;
        gst.start(QStringLiteral("gst-launch-1.0"),
                  QProcess::splitCommand(
                      QStringLiteral("-q videotestsrc num-buffers=25 ! video/x-raw,format=RGB,"
                                     "width=64,height=48,framerate=25/1 ! mux. audiotestsrc "
                                     "num-buffers=20 ! audioconvert ! mux. qtmux name=mux ! "
                                     "filesink location=")
                      + path));
        QVERIFY(gst.waitForFinished(60000) && gst.exitCode() == 0);
        // The sample description names its pixels "24BG", as ffmpeg writes BGR: the
        // container stays valid, the pictures have no decoder.
        QByteArray bytes = TestDir::readFile(path);
        const qsizetype raw = bytes.indexOf("raw ");
        QVERIFY(raw > 0);
        bytes.replace(raw, 4, "24BG");
        TestDir::writeFile(path, bytes);
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(path);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Reading video file failed"));
        QVERIFY(m_player->Mode() != mpPlaying);
    }

    void aFailedFileLeavesThePlayerUsable()
    {
        // The engine's MIDI reader would spin for ever on this track and keep the player
        // from ever closing it; the engine also keeps its last error for the next file.
        TestDir dir;
        const QString bad =
            dir.write("bad.mid", QByteArray::fromHex("4d546864000000060000000100604d54726b00000004"
                                                     "00fa0000"));
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(bad);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Reading video file failed"));
        m_control->setMediaName(dir.write("broken.wav", QByteArray(4000, 'z')));
        QCOMPARE(m_messages.size(), 2);
        m_control->setMediaName(sample("chime.wav"));
        QCOMPARE(m_messages.size(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
    }

    void publicSuitesPlayOrAreReported()
    {
        const QString root = QStringLiteral(KORVID_CORPUS);
        if (!QFileInfo(root + QStringLiteral("/mid")).isDir())
            QSKIP(qPrintable("test corpus " + root + " is absent"));
        m_control->setAutoPlayMultiMedia(true);
        int played = 0;
        QStringList endedAtOnce;
        const QStringList types = {QStringLiteral("*.wav"), QStringLiteral("*.mid"),
                                   QStringLiteral("*.avi"), QStringLiteral("*.mov")};
        for (const char *folder : {"wav", "mid", "avi", "mov"}) {
            QDirIterator it(root + u'/' + QLatin1String(folder), types, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                m_messages.clear();
                QElapsedTimer clock;
                clock.start();
                m_control->setMediaName(path);
                // Each file plays or is reported at once; none hangs the player.
                QTRY_VERIFY2_WITH_TIMEOUT(!m_messages.isEmpty() || m_player->Mode() == mpPlaying
                                              || m_player->Mode() == mpStopped,
                                          qPrintable(path), 10000);
                if (m_messages.isEmpty()) {
                    ++played;
                    // Played, not just opened: a file reaches its end no sooner than half
                    // its length (looked at for a moment, not to the end). A loaded machine
                    // may drop late sound once, so an early end is tried again.
                    QString early = endsEarly(clock);
                    if (!early.isEmpty()) {
                        m_control->setMediaName(QString());
                        clock.restart();
                        m_control->setMediaName(path);
                        early = endsEarly(clock);
                    }
                    if (!early.isEmpty())
                        endedAtOnce.append(path + early);
                }
                m_control->setMediaName(QString());
            }
        }
        // Well over half of the suites' files are valid and play.
        QVERIFY2(played >= 100, qPrintable(QString::number(played)));
        QVERIFY2(endedAtOnce.isEmpty(), qPrintable(endedAtOnce.join(QStringLiteral("; "))));
    }

    void aPictureClosesAndHidesThePlayer()
    {
        m_control->setAutoPlayMultiMedia(true);
        m_control->setAutoHideMediaPlayer(true);
        m_control->show();
        m_control->setMediaName(sample("clock.avi"));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
        QVERIFY(m_player->isVisible());
        m_control->setMediaName(sample("sunset.jpg"));
        QCOMPARE(m_player->Mode(), mpNotReady);
        QVERIFY(!m_player->isVisible());
        QVERIFY(m_control->Picture().isBitmap());
    }

    void videoFramesAreDrawnInTheDisplayRectangle()
    {
        m_control->resize(400, 300);
        m_control->show();
        m_player->setDisplayRect(QRect(100, 50, 160, 120));
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(sample("clock.avi"));
        QTRY_VERIFY_WITH_TIMEOUT(m_player->currentFrame().isValid(), 5000);
        m_player->Pause();
        const QImage seen = m_control->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = m_control->palette().color(QPalette::Window).rgb();
        QCOMPARE(seen.pixel(50, 25), background);
        QCOMPARE(seen.pixel(300, 250), background);
        int painted = 0;
        for (int y = 50; y < 170; y += 10)
            for (int x = 100; x < 260; x += 10)
                painted += seen.pixel(x, y) != background ? 1 : 0;
        QVERIFY2(painted > 100, qPrintable(QString::number(painted)));
    }

    void soundReachesTheServer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("wav") << "chime.wav";
        QTest::newRow("mid") << "tune.mid";
    }

    void soundReachesTheServer()
    {
        QFETCH(QString, name);
        if (!MciExtensionKnown(QFileInfo(name).suffix().toUpper()))
            QSKIP("the media engine cannot play this type here");
        QProcess monitor;
        monitor.start(QStringLiteral("parec"),
                      {QStringLiteral("--device=@DEFAULT_MONITOR@"), QStringLiteral("--raw"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                       QStringLiteral("--rate=8000"), QStringLiteral("--latency-msec=50")});
        if (!monitor.waitForStarted(3000))
            QSKIP("parec is not available to listen to the sound server");
        // Listening has begun once the monitor's silence arrives; on a busy machine that
        // takes longer than the sound itself lasts.
        QTRY_VERIFY_WITH_TIMEOUT(monitor.bytesAvailable() > 0, 10000);
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(sample(name));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->player()->mediaStatus(), QMediaPlayer::EndOfMedia,
                                  15000);
        QTest::qWait(300);
        monitor.terminate();
        monitor.waitForFinished(3000);
        const QByteArray pcm = monitor.readAllStandardOutput();
        int loudest = 0;
        for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
            loudest = qMax(loudest, qAbs(int(qint16(quint8(pcm[i]) | quint8(pcm[i + 1]) << 8))));
        // Silence is 0; the quiet General MIDI piano peaks near 1000 of 32767.
        QVERIFY2(loudest > 200,
                 qPrintable(
                     QStringLiteral("loudest sample %1 of %2 bytes").arg(loudest).arg(pcm.size())));
    }

    void aFailingTickIsReportedOncePerMedia()
    {
        m_control->setAutoPlayMultiMedia(true);
        m_control->setAutoRePlayMultiMedia(true);
        m_control->setMediaName(sample("chime.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
        // The device goes away under the running timer: position and length are unknown.
        m_player->Close();
        QTest::qWait(1300);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text,
                 QStringLiteral("Error during TimerNotify for TPMultiMedia!"));
        // The next media may fail once more.
        m_control->setMediaName(sample("chime.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
        m_player->Close();
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.size(), 2, 2000);
    }

    void thePlayerBar()
    {
        for (const TMPBtnType b : {btPlay, btPause, btStop, btPrev})
            QVERIFY(!m_player->button(b)->isEnabled());
        m_player->setButtonVisible(btPrev, false);
        QVERIFY(!m_player->button(btPrev)->isVisibleTo(m_player));
        QVERIFY(m_player->button(btPlay)->isVisibleTo(m_player));
        m_control->setAutoPlayMultiMedia(false);
        m_control->setMediaName(sample("chime.wav"));
        m_player->setButtonsEnabled(true);
        m_player->button(btPlay)->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
        m_player->button(btPause)->click();
        QTRY_COMPARE(m_player->Mode(), mpPaused);
        m_player->button(btStop)->click();
        QTRY_COMPARE(m_player->Mode(), mpStopped);
    }

    void stopMediaClosesThePlayer()
    {
        m_control->setAutoPlayMultiMedia(true);
        m_control->setMediaName(sample("chime.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->Mode(), mpPlaying, 5000);
        m_control->StopMedia();
        QCOMPARE(m_player->Mode(), mpNotReady);
        delete m_player;
        QVERIFY(m_control->MediaPlayer() == nullptr);
        m_control->setMediaName(sample("chime.wav"));
        QVERIFY(m_messages.isEmpty());
    }

private:
    // Waits a moment for the playing file's end; says when it came sooner than half the
    // file's length after clock started.
    QString endsEarly(const QElapsedTimer &clock)
    {
        const auto ended = [this] {
            return m_player->player()->mediaStatus() == QMediaPlayer::EndOfMedia;
        };
        (void)QTest::qWaitFor(ended, 300);
        const qint64 length = m_player->player()->duration();
        if (!ended() || clock.elapsed() >= length / 2)
            return {};
        return QStringLiteral(" (%1 ms long, ended after %2 ms)").arg(length).arg(clock.elapsed());
    }

    std::unique_ptr<TPMultiMedia> m_control;
    TMIMediaPlayer *m_player = nullptr;
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestPlayback)
#include "tst_playback.moc"
