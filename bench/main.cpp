// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// korvid-bench: every benchmark, one line per result ("ratio NAME VALUE" or
// "value NAME VALUE UNIT").
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "BenchReport.h"
#include "CodecBench.h"
#include "DisplayBench.h"
#include "FileBench.h"
#include "PlaybackBench.h"
#include "WindowBench.h"

int main(int argc, char **argv)
{
    // The window benchmarks need a real display; the others run on any.
    const bool display =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!display)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    // Groups named on the command line run alone: codec, display, playback, files, kiosk,
    // window, start.
    const QStringList only = app.arguments().mid(1);
    const auto wanted = [&only](const char *group) {
        return only.isEmpty() || only.contains(QLatin1String(group));
    };
    if (wanted("codec")) {
        RunCodecBenchmarks();
        RunHostileBenchmark();
        RunColorBenchmark();
    }
    if (wanted("display"))
        RunDisplayBenchmarks();
    if (wanted("playback"))
        RunPlaybackBenchmarks(QStringLiteral(KORVID_SAMPLES));
    if (wanted("files"))
        RunFileBenchmarks();
    // The locked show gets an X server and a window manager of its own.
    if (wanted("kiosk"))
        RunKioskBenchmark(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("korvid")));
    if (!display) {
        if (wanted("window")) {
            for (const char *name : {"folder_100k_list", "ui_block_max", "next_picture_prefetched",
                                     "slideshow_drift_percent", "zoom_peak_over_decoded",
                                     "zoom_step_ms", "first_sight_fit_vs_djpeg",
                                     "first_sight_normal_vs_djpeg", "first_sight_peak_over_shown"})
                ReportMissing(name, QStringLiteral("no display (run under xvfb-run)"));
        }
        if (wanted("start")) {
            for (const char *name : {"start_to_picture_vs_feh", "start_to_picture_normal_vs_feh"})
                ReportMissing(name, QStringLiteral("no display (run under xvfb-run)"));
        }
        return ReportExitStatus();
    }
    if (wanted("window"))
        RunWindowBenchmarks();
    // Also alone, as part of the window group above.
    if (only.contains(QLatin1String("sight"))) {
        QTemporaryDir home;
        RunSightBenchmarks(home.path());
    }
    if (wanted("start"))
        RunStartBenchmark(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("korvid")));
    return ReportExitStatus();
}
