// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/MatrixShaper.h"

#include <algorithm>
#include <cmath>

#include <lcms2.h>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// The profile's primaries as the columns of its RGB to XYZ matrix.
bool primaries(cmsHPROFILE h, Matrix &m)
{
    const cmsTagSignature tags[] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                    cmsSigBlueColorantTag};
    for (int c = 0; c < 3; ++c) {
        const auto *xyz = static_cast<const cmsCIEXYZ *>(cmsReadTag(h, tags[c]));
        if (!xyz)
            return false;
        m[0][c] = xyz->X;
        m[1][c] = xyz->Y;
        m[2][c] = xyz->Z;
    }
    return true;
}

bool invert(const Matrix &m, Matrix &out)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
                       - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
                       + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (!std::isfinite(det) || std::abs(det) < 1e-9)
        return false;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            // The cofactor of (c, r), over the determinant.
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            out[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    return true;
}

const cmsToneCurve *curve(cmsHPROFILE h, int channel)
{
    const cmsTagSignature tags[] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    return static_cast<const cmsToneCurve *>(cmsReadTag(h, tags[channel]));
}

} // namespace

std::optional<TMatrixShaper> TMatrixShaper::between(void *fromProfile, void *toProfile)
{
    auto *from = static_cast<cmsHPROFILE>(fromProfile);
    auto *to = static_cast<cmsHPROFILE>(toProfile);
    if (cmsUInt32Number(cmsGetColorSpace(from)) != cmsSigRgbData
        || cmsUInt32Number(cmsGetColorSpace(to)) != cmsSigRgbData || !cmsIsMatrixShaper(from)
        || !cmsIsMatrixShaper(to))
        return std::nullopt;
    Matrix source, target, back;
    if (!primaries(from, source) || !primaries(to, target) || !invert(target, back))
        return std::nullopt;
    TMatrixShaper shaper;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += back[r][k] * source[k][c];
            if (!std::isfinite(sum) || std::abs(sum) > 16)
                return std::nullopt;
            shaper.m_matrix[size_t(r)][size_t(c)] = float(sum);
        }
    for (int c = 0; c < 3; ++c) {
        const cmsToneCurve *in = curve(from, c);
        const cmsToneCurve *out = curve(to, c);
        if (!in || !out)
            return std::nullopt;
        for (int v = 0; v < 256; ++v)
            shaper.m_in[size_t(c)][size_t(v)] = cmsEvalToneCurveFloat(in, float(v) / 255);
        cmsToneCurve *reverse = cmsReverseToneCurve(out);
        if (!reverse)
            return std::nullopt;
        std::vector<uchar> &table = shaper.m_out[size_t(c)];
        table.resize(OutSteps);
        for (int i = 0; i < OutSteps; ++i) {
            const float v = cmsEvalToneCurveFloat(reverse, float(i) / (OutSteps - 1));
            table[size_t(i)] = uchar(std::clamp(std::lround(v * 255), 0L, 255L));
        }
        cmsFreeToneCurve(reverse);
    }
    return shaper;
}

void TMatrixShaper::convertRows(uchar *bits, qsizetype stride, int width, int first,
                                int count) const
{
    const auto &m = m_matrix;
    const auto index = [](float v) {
        return int(std::clamp(v, 0.0f, 1.0f) * (OutSteps - 1) + 0.5f);
    };
    const uchar *outR = m_out[0].data();
    const uchar *outG = m_out[1].data();
    const uchar *outB = m_out[2].data();
    for (int y = first; y < first + count; ++y) {
        auto *line = reinterpret_cast<QRgb *>(bits + stride * y);
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            const float r = m_in[0][size_t(qRed(p))];
            const float g = m_in[1][size_t(qGreen(p))];
            const float b = m_in[2][size_t(qBlue(p))];
            const int R = index(m[0][0] * r + m[0][1] * g + m[0][2] * b);
            const int G = index(m[1][0] * r + m[1][1] * g + m[1][2] * b);
            const int B = index(m[2][0] * r + m[2][1] * g + m[2][2] * b);
            line[x] = (p & 0xFF000000u) | uint(outR[R]) << 16 | uint(outG[G]) << 8 | outB[B];
        }
    }
}
