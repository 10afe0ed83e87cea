// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QIODevice;

// What the header of a picture file tells, read without decoding any pixel.
struct TImageInfo
{
    QString type;        // "BMP", "GIF", "JPG", "PCX", "PNG" or "TIF"
    int width = 0;       // pixels
    int height = 0;      // pixels
    int valueA = 0;      // bits per pixel
    int valueB = 0;      // horizontal resolution in dots per inch, 0 when the file has none
    int colors = 0;      // colours of a palette or grey picture; 0 for true colour
    QString description; // a short human-readable kind, such as "PNG RGBA interlaced"
};

// Reads the information of the picture at the device's position, recognised by its
// content; false (and an empty info) for anything else. The position is kept.
bool ReadImageInfoFrom(QIODevice &in, TImageInfo &info);
