// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The orientation (1 to 8) an EXIF block ("Exif\0\0" and a TIFF structure, as in a JPEG
// APP1 marker) gives its picture, or 0 when it names none.
int ExifOrientation(const uchar *data, qsizetype size);

// Turns a picture stored in the given EXIF orientation upright.
QImage ApplyExifOrientation(QImage image, int orientation);
