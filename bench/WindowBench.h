// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class TKorvidForm;

// The main window on a real display: filling the file list from a huge folder, how long
// the window stops answering meanwhile, showing a prefetched picture, a slideshow's
// timing and zooming (RunZoomBenchmarks).
void RunWindowBenchmarks();

// Zooming a photograph in the maximised window: peak memory and time per step.
void RunZoomBenchmarks(const QString &home);

// Opening a photograph in the maximised window, fitted and at its own size: the time to
// its first paint against djpeg, and the memory it takes.
void RunSightBenchmarks(const QString &home);

// A main window with the given command line that keeps its settings in settingsDir
// (XDG_CONFIG_HOME stays there).
std::unique_ptr<TKorvidForm> NewBenchWindow(const QStringList &arguments,
                                            const QString &settingsDir);

// From starting the program on a photograph to the photograph on screen, against feh.
void RunStartBenchmark(const QString &korvidProgram);

// A locked full-screen show on a private X server with a window manager: the worst time
// from a hiding request to the view being back in front, holding the input.
void RunKioskBenchmark(const QString &korvidProgram);
