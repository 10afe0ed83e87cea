// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an embedded colour profile: checked, and used to convert a small
// picture (RGB, grey and CMYK) as a decoded one is converted.
#include <cstdint>
#include <cstring>

#include <QImage>

#include "display/codec/ColorProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray icc(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ProfileUsable(icc);
    QImage colour(7, 5, QImage::Format_ARGB32_Premultiplied);
    colour.fill(qRgba(200, 40, 90, 128));
    ConvertToDisplay(colour, icc);
    QImage grey(9, 3, QImage::Format_RGB32);
    grey.fill(qRgb(77, 77, 77));
    ConvertToDisplay(grey, icc);
    for (const bool inverted : {false, true}) {
        if (const auto converter = TCmykConverter::open(icc, inverted)) {
            QImage cmyk(3, 2, QImage::Format_RGB32);
            cmyk.fill(qRgba(10, 200, 30, 90));
            converter->convert(cmyk, 1);
        }
    }
    // The same bytes as PNG's gamma and chromaticities.
    if (size >= 9 * sizeof(double)) {
        double v[9];
        std::memcpy(v, data, sizeof v);
        ProfileFromChromaticities(v[0], v + 1, v + 3, v + 5, v + 7);
    }
    return 0;
}
