// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/MatrixShaper.h"

#include <algorithm>
#include <cmath>

#include <lcms2.h>

#if defined(__x86_64__)
// GCC 12's AVX-512 header warns of its own deliberately undefined values.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#endif

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
        // Three bytes over: the wide kernels load four bytes at an entry.
        table.assign(OutSteps + 3, 0);
        for (int i = 0; i < OutSteps; ++i) {
            const float v = cmsEvalToneCurveFloat(reverse, float(i) / (OutSteps - 1));
            table[size_t(i)] = uchar(std::clamp(std::lround(v * 255), 0L, 255L));
        }
        cmsFreeToneCurve(reverse);
    }
    return shaper;
}

namespace {

// What a row kernel reads: input curves as floats, the matrix by rows, output curves as
// bytes (each table padded so that a four-byte load at its last entry stays inside).
struct Tables
{
    const float *in[3];
    float m[9];
    const uchar *out[3];
    float steps; // the output tables' last index
};

// The pixels [from, width) of one row; the plain path every processor runs.
void rowPlain(const Tables &t, QRgb *line, int from, int width)
{
    const auto index = [&](float v) { return int(std::clamp(v, 0.0f, 1.0f) * t.steps + 0.5f); };
    for (int x = from; x < width; ++x) {
        const QRgb p = line[x];
        const float r = t.in[0][qRed(p)];
        const float g = t.in[1][qGreen(p)];
        const float b = t.in[2][qBlue(p)];
        const int R = index(t.m[0] * r + t.m[1] * g + t.m[2] * b);
        const int G = index(t.m[3] * r + t.m[4] * g + t.m[5] * b);
        const int B = index(t.m[6] * r + t.m[7] * g + t.m[8] * b);
        line[x] =
            (p & 0xFF000000u) | uint(t.out[0][R]) << 16 | uint(t.out[1][G]) << 8 | t.out[2][B];
    }
}

using RowKernel = int (*)(const Tables &, QRgb *, int);

#if defined(__x86_64__)
// One output channel of sixteen pixels: a row of the matrix, clamped, through its table.
__attribute__((target("avx512f"))) __m512i channel16(const __m512 *m, __m512 r, __m512 g, __m512 b,
                                                     float steps, const uchar *table)
{
    __m512 v = _mm512_fmadd_ps(m[0], r, _mm512_fmadd_ps(m[1], g, _mm512_mul_ps(m[2], b)));
    v = _mm512_min_ps(_mm512_max_ps(v, _mm512_setzero_ps()), _mm512_set1_ps(1));
    const __m512i i =
        _mm512_cvttps_epi32(_mm512_fmadd_ps(v, _mm512_set1_ps(steps), _mm512_set1_ps(0.5f)));
    return _mm512_and_si512(_mm512_i32gather_epi32(i, table, 1), _mm512_set1_epi32(0xFF));
}

__attribute__((target("avx2,fma"))) __m256i channel8(const __m256 *m, __m256 r, __m256 g, __m256 b,
                                                     float steps, const uchar *table)
{
    __m256 v = _mm256_fmadd_ps(m[0], r, _mm256_fmadd_ps(m[1], g, _mm256_mul_ps(m[2], b)));
    v = _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(1));
    const __m256i i =
        _mm256_cvttps_epi32(_mm256_fmadd_ps(v, _mm256_set1_ps(steps), _mm256_set1_ps(0.5f)));
    return _mm256_and_si256(_mm256_i32gather_epi32(reinterpret_cast<const int *>(table), i, 1),
                            _mm256_set1_epi32(0xFF));
}

// Sixteen pixels at a time with gathered table look-ups; answers how many it did.
__attribute__((target("avx512f"))) int rowAvx512(const Tables &t, QRgb *line, int width)
{
    const __m512i ff = _mm512_set1_epi32(0xFF);
    const __m512i alpha = _mm512_set1_epi32(int(0xFF000000u));
    __m512 m[9];
    for (int i = 0; i < 9; ++i)
        m[i] = _mm512_set1_ps(t.m[i]);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m512i p = _mm512_loadu_si512(line + x);
        const __m512 r =
            _mm512_i32gather_ps(_mm512_and_si512(_mm512_srli_epi32(p, 16), ff), t.in[0], 4);
        const __m512 g =
            _mm512_i32gather_ps(_mm512_and_si512(_mm512_srli_epi32(p, 8), ff), t.in[1], 4);
        const __m512 b = _mm512_i32gather_ps(_mm512_and_si512(p, ff), t.in[2], 4);
        const __m512i R = channel16(m, r, g, b, t.steps, t.out[0]);
        const __m512i G = channel16(m + 3, r, g, b, t.steps, t.out[1]);
        const __m512i B = channel16(m + 6, r, g, b, t.steps, t.out[2]);
        const __m512i rgb =
            _mm512_or_si512(_mm512_slli_epi32(R, 16), _mm512_or_si512(_mm512_slli_epi32(G, 8), B));
        _mm512_storeu_si512(line + x, _mm512_or_si512(_mm512_and_si512(p, alpha), rgb));
    }
    return x;
}

// Eight pixels at a time.
__attribute__((target("avx2,fma"))) int rowAvx2(const Tables &t, QRgb *line, int width)
{
    const __m256i ff = _mm256_set1_epi32(0xFF);
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
    __m256 m[9];
    for (int i = 0; i < 9; ++i)
        m[i] = _mm256_set1_ps(t.m[i]);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(line + x));
        const __m256 r =
            _mm256_i32gather_ps(t.in[0], _mm256_and_si256(_mm256_srli_epi32(p, 16), ff), 4);
        const __m256 g =
            _mm256_i32gather_ps(t.in[1], _mm256_and_si256(_mm256_srli_epi32(p, 8), ff), 4);
        const __m256 b = _mm256_i32gather_ps(t.in[2], _mm256_and_si256(p, ff), 4);
        const __m256i R = channel8(m, r, g, b, t.steps, t.out[0]);
        const __m256i G = channel8(m + 3, r, g, b, t.steps, t.out[1]);
        const __m256i B = channel8(m + 6, r, g, b, t.steps, t.out[2]);
        const __m256i rgb =
            _mm256_or_si256(_mm256_slli_epi32(R, 16), _mm256_or_si256(_mm256_slli_epi32(G, 8), B));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(line + x),
                            _mm256_or_si256(_mm256_and_si256(p, alpha), rgb));
    }
    return x;
}
#endif

int rowNone(const Tables &, QRgb *, int)
{
    return 0;
}

// The widest kernel this processor runs. KORVID_SIMD=plain or =avx2 holds it narrower, so
// that each path can be checked on one machine.
RowKernel bestKernel()
{
    static const RowKernel kernel = [] {
        const QByteArray cap = qgetenv("KORVID_SIMD");
        if (cap == "plain")
            return &rowNone;
#if defined(__x86_64__)
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f") && cap != "avx2")
            return &rowAvx512;
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
            return &rowAvx2;
#endif
        return &rowNone;
    }();
    return kernel;
}

} // namespace

void TMatrixShaper::convertRows(uchar *bits, qsizetype stride, int width, int first,
                                int count) const
{
    Tables t{};
    for (size_t c = 0; c < 3; ++c) {
        t.in[c] = m_in[c].data();
        t.out[c] = m_out[c].data();
        for (size_t k = 0; k < 3; ++k)
            t.m[c * 3 + k] = m_matrix[c][k];
    }
    t.steps = OutSteps - 1;
    const RowKernel wide = bestKernel();
    for (int y = first; y < first + count; ++y) {
        auto *line = reinterpret_cast<QRgb *>(bits + stride * y);
        rowPlain(t, line, wide(t, line, width), width);
    }
}
