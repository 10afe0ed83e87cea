// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// korvid-bench: every benchmark, one line per result ("ratio NAME VALUE" or
// "value NAME VALUE UNIT").
#include <QGuiApplication>

#include "CodecBench.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RunCodecBenchmarks();
    return 0;
}
