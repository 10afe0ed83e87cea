// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include "display/codec/DecodeContext.h"

class QIODevice;

// The decoders behind the codec unit. Each reads one picture from the device's current
// position and returns it in a format QPainter draws directly (RGB32, ARGB32 or
// Indexed8), or a null picture with the reason in the context. Data that ends early gives
// the part decoded so far and marks the context truncated; nothing is ever read or
// written outside the buffers.

// Windows and OS/2 bitmaps: file header "BM" first.
QImage DecodeBmp(QIODevice &in, DecodeContext &ctx);
// A device-independent bitmap as stored in resources: the information header first and
// the pixels right after the colour table.
QImage DecodeDib(QIODevice &in, DecodeContext &ctx);
QImage DecodePcx(QIODevice &in, DecodeContext &ctx);
QImage DecodeJpeg(QIODevice &in, DecodeContext &ctx);
QImage DecodePng(QIODevice &in, DecodeContext &ctx);
QImage DecodeGif(QIODevice &in, DecodeContext &ctx);
QImage DecodeTiff(QIODevice &in, DecodeContext &ctx);
// Windows icons: the largest picture the file holds.
QImage DecodeIco(QIODevice &in, DecodeContext &ctx);
