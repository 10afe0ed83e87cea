// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <tiffio.h>

#include "display/codec/DecodeContext.h"

// TIFF pictures read sample by sample: grey and RGB, with or without alpha, of any depth
// from 1 to 32 bits, signed or unsigned, or floating point (16, 32, 64 bits; 0 to 1 is
// black to white), interleaved or in planes, in strips or tiles. Covers what libtiff's
// RGBA interface leaves out.

// Whether the current directory is of a kind DecodeTiffSamples reads.
bool TiffSamplesReadable(TIFF *tif);

// Reads the current directory, reporting progress per strip or row of tiles. When the
// data fails part-way the picture holds the rows read (rowsDone) and black below.
QImage DecodeTiffSamples(TIFF *tif, DecodeContext &ctx, int *rowsDone);
