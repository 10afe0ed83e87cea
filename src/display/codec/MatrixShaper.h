// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <array>
#include <optional>
#include <vector>

// Between two RGB profiles made of tone curves and primaries (as camera, Adobe RGB and
// most display profiles are) a conversion is three curves, a 3 x 3 matrix and three
// curves back. Built from what Little CMS reads of the profiles, it runs from tables,
// several times faster than the library's general path.
class TMatrixShaper
{
public:
    // None unless both profiles (cmsHPROFILE) are RGB matrix-shapers.
    static std::optional<TMatrixShaper> between(void *from, void *to);
    // Rows of 32-bit pixels (RGB32 or unpremultiplied ARGB32), in place; rows may be
    // converted on several threads at once.
    void convertRows(uchar *bits, qsizetype stride, int width, int first, int count) const;

private:
    static constexpr int OutSteps = 16384;
    std::array<std::array<float, 256>, 3> m_in{};
    std::array<std::array<float, 3>, 3> m_matrix{};
    std::array<std::vector<uchar>, 3> m_out;
};
