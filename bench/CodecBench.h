// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// jpeg_vs_djpeg, jpeg_vs_qimagereader, load_peak_over_decoded, png_vs_libpng,
// bmp_decode and pcx_decode.
void RunCodecBenchmarks();

// hostile_peak_mb: the most heap that refusing a small file claiming a huge picture takes,
// over every format and depth.
void RunHostileBenchmark();

// icc_convert_over_decode: converting a 6000 x 4000 Adobe RGB photograph to the display's
// colours against decoding it.
void RunColorBenchmark();
