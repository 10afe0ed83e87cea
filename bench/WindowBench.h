// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The main window on a real display: filling the file list from a huge folder, how long
// the window stops answering meanwhile, and showing a prefetched picture.
void RunWindowBenchmarks();

// From starting the program on a photograph to the photograph on screen, against feh.
void RunStartBenchmark(const QString &korvidProgram);
