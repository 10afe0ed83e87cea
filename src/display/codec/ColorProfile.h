// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

#include <memory>
#include <optional>
#include <vector>

#include "display/codec/MatrixShaper.h"

// Colour management: a decoded picture is converted once, from the ICC profile it carries
// to the display's, with Little CMS (perceptual intent, 8 bits per channel). A profile
// that cannot be read, or that does not describe the picture's colours, is ignored.

// The display's ICC profile; empty for sRGB. Set at start, read from any thread.
void SetDisplayProfile(const QByteArray &icc);
QByteArray DisplayProfile();

// Whether the profile opens and is of a kind pictures are converted from (RGB, grey or
// CMYK input, display or colour-space class).
bool ProfileUsable(const QByteArray &icc);

// The sRGB profile's bytes, for pictures that say they are sRGB without carrying one.
QByteArray SrgbProfile();
// A profile made from PNG's gAMA and cHRM: the stored gamma (1/2.2 as 0.45455) and the
// white point and primaries as CIE x, y.
QByteArray ProfileFromChromaticities(double gamma, const double white[2], const double red[2],
                                     const double green[2], const double blue[2]);

// Whether ConvertToDisplay would change a picture with this profile.
bool ProfileChangesColours(const QByteArray &icc);

// Converts a picture of 32 bits a pixel (RGB32, ARGB32, ARGB32_Premultiplied) or a
// paletted one (Indexed8, through its palette) in place to the display's profile. A grey profile
// converts a grey picture. Does nothing, and answers false, when the profile is unusable, describes
// other colours, or is the display's own.
bool ConvertToDisplay(QImage &image, const QByteArray &icc);

// The conversion ConvertToDisplay makes, prepared once for a picture's profile and pixel
// format and then run over its rows, which may be on several threads at once.
class TDisplayConversion
{
public:
    // Null where the picture would be left as it is.
    static std::unique_ptr<TDisplayConversion> prepare(const QByteArray &icc,
                                                       QImage::Format format);
    // Between two opened profiles (cmsHPROFILE).
    static std::unique_ptr<TDisplayConversion> between(void *from, void *to, QImage::Format format);
    ~TDisplayConversion();
    TDisplayConversion(const TDisplayConversion &) = delete;
    TDisplayConversion &operator=(const TDisplayConversion &) = delete;

    void convertRows(uchar *bits, qsizetype stride, int width, int first, int count) const;
    // The whole picture, on two threads for a large one.
    void convert(QImage &image) const;

private:
    TDisplayConversion() = default;
    std::optional<TMatrixShaper> m_shaper;
    void *m_transform = nullptr; // cmsHTRANSFORM
    std::vector<uchar> m_grey;   // a grey level's RGB, three bytes each
};

// A picture in the display's colours as sRGB, for a page that carries no profile; the
// picture itself where the display is sRGB.
QImage DisplayToSrgb(QImage image);

// A CMYK picture to the display's colours through its CMYK profile (inverted: the values
// stored as 255 minus the ink, as Adobe writes them).
class TCmykConverter
{
public:
    // Null when the profile is not a usable CMYK one.
    static std::unique_ptr<TCmykConverter> open(const QByteArray &icc, bool inverted);
    ~TCmykConverter();
    TCmykConverter(const TCmykConverter &) = delete;
    TCmykConverter &operator=(const TCmykConverter &) = delete;
    // The first rows of a 32-bit picture hold CMYK, a byte each; they become RGB32, in
    // place, on two threads for a large picture.
    void convert(QImage &image, int rows) const;

private:
    explicit TCmykConverter(void *transform);
    void *m_transform;
};
