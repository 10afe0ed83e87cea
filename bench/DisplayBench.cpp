// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayBench.h"

#include <QPainter>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "display/TMultiMP.h"

void RunDisplayBenchmarks()
{
    TPMultiMedia control;
    control.resize(1600, 1000);
    control.setStretchRatio(true);
    control.setPicture(TPicture::fromBitmap(BenchPicture(6000, 4000)));
    QImage screen(control.size(), QImage::Format_RGB32);
    // The first paint scales the picture; the ones after it are what a resize-free expose
    // or a window switch costs.
    control.render(&screen);
    const double seconds = BestSeconds(20, [&] { control.render(&screen); });
    ReportValue("fit_repaint_24mp", seconds * 1000, 3, "ms");
}
