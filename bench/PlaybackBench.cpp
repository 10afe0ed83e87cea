// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaybackBench.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>

#include "BenchReport.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"

namespace {

// Milliseconds until the player shows it has output: a frame for videos, the position
// moving on for sounds. -1 when nothing came within ten seconds.
double firstOutput(const QString &file, bool video)
{
    TPMultiMedia control;
    auto *player = new TMIMediaPlayer(&control);
    player->setDisplay(&control);
    control.setMediaPlayer(player);
    control.setAutoPlayMultiMedia(true);
    QEventLoop loop;
    QElapsedTimer clock;
    double result = -1;
    auto done = [&] {
        if (result < 0) {
            result = clock.nsecsElapsed() / 1e6;
            loop.quit();
        }
    };
    if (video)
        QObject::connect(player, &TMIMediaPlayer::FrameChanged, &loop, done);
    else
        QObject::connect(player->player(), &QMediaPlayer::positionChanged, &loop,
                         [&](qint64 position) {
                             if (position > 0)
                                 done();
                         });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    clock.start();
    control.setMediaName(file);
    if (result < 0)
        loop.exec();
    control.StopMedia();
    return result;
}

} // namespace

void RunPlaybackBenchmarks(const QString &samples)
{
    const struct
    {
        const char *name;
        const char *file;
        bool video;
    } rows[] = {{"first_output_wav", "chime.wav", false},
                {"first_output_mid", "tune.mid", false},
                {"first_output_avi", "clock.avi", true},
                {"first_output_mov", "pattern.mov", true}};
    for (const auto &row : rows) {
        // The first open of a kind loads the engine's plugins; measure the next ones.
        firstOutput(samples + u'/' + QLatin1String(row.file), row.video);
        double best = -1;
        for (int i = 0; i < 3; ++i) {
            const double ms = firstOutput(samples + u'/' + QLatin1String(row.file), row.video);
            if (ms >= 0 && (best < 0 || ms < best))
                best = ms;
        }
        if (best < 0)
            ReportMissing(row.name, QStringLiteral("%1 gave no output (is a sound server running?)")
                                        .arg(QLatin1String(row.file)));
        else
            ReportValue(row.name, best, 1, "ms");
    }
}
