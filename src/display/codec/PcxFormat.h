// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRgb>
#include <QString>

constexpr int PcxHeaderSize = 128;

// The 128-byte header of a PCX file.
struct PcxInfo
{
    int version = 0;
    int encoding = 0;
    int bitsPerPixel = 0; // per plane
    int planes = 0;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    int hDpi = 0;
    int vDpi = 0;
};

// Checks the header; the combinations of bits and planes read are 1 bit with one to
// four planes, 2, 4 and 8 bits with one plane, and 8 bits with three or four planes.
bool ParsePcxHeader(const uchar *header, PcxInfo &info, QString *why);

// The colour table of a picture of at most 16 colours.
QList<QRgb> PcxHeaderPalette(const uchar *header, const PcxInfo &info);
