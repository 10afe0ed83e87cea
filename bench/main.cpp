// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// korvid-bench: every benchmark, one line per result ("ratio NAME VALUE" or
// "value NAME VALUE UNIT").
#include <QApplication>

#include "CodecBench.h"
#include "DisplayBench.h"
#include "PlaybackBench.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    RunCodecBenchmarks();
    RunDisplayBenchmarks();
    RunPlaybackBenchmarks(QStringLiteral(KORVID_SAMPLES));
    return 0;
}
