// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>

class QPaintDevice;

// Colour depth requests: 0 the 16 colours of a VGA display, 1 black and white, 4 the 16
// colours that suit the picture best, 8 at most 256 colours, 24 true colour (alpha
// kept). Pictures of up to 256 colours come back as Indexed8 (Mono for 1 bit).
QImage ApplyColorDepth(QImage image, int colorBits, bool dither);

// The standard 16 colours of a VGA display.
QList<QRgb> VgaPalette();

// Up to count colours that represent image well (median cut over a sample of pixels).
QList<QRgb> AdaptivePalette(const QImage &image, int count);

// The depth to ask for on a device of deviceBits per pixel: below 5 gives 4, exactly 8
// gives 8, 16 or more gives 24, anything else 8.
int DeviceColorBits(int deviceBits);
int DeviceColorBits(const QPaintDevice *device);
