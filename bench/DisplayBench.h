// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// fit_repaint_24mp: a repaint of a 24-megapixel picture fitted into the display control,
// after its first scaling.
void RunDisplayBenchmarks();
