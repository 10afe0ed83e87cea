// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// first_output_wav, _mid, _avi, _mov: from writing MediaName to the first sound played or
// video frame delivered.
void RunPlaybackBenchmarks(const QString &samples);
