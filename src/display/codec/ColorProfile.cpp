// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/ColorProfile.h"

#include <cmath>
#include <mutex>
#include <optional>
#include <thread>

#include <lcms2.h>

#include "display/codec/MatrixShaper.h"

namespace {

std::mutex s_displayLock;
QByteArray s_display;

// Larger embedded profiles are not real ones.
constexpr qsizetype MostProfileBytes = 16 << 20;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr cmsUInt32Number PixelFormat = TYPE_BGRA_8;
constexpr cmsUInt32Number PremultipliedFormat = TYPE_BGRA_8_PREMUL;
#else
constexpr cmsUInt32Number PixelFormat = TYPE_ARGB_8;
constexpr cmsUInt32Number PremultipliedFormat = TYPE_ARGB_8_PREMUL;
#endif

// A damaged profile is ignored without a word.
const bool s_quiet = [] {
    cmsSetLogErrorHandler(nullptr);
    return true;
}();

struct Profile
{
    cmsHPROFILE h = nullptr;
    explicit Profile(cmsHPROFILE handle = nullptr)
        : h(handle)
    {}
    ~Profile()
    {
        if (h)
            cmsCloseProfile(h);
    }
    Profile(const Profile &) = delete;
    Profile &operator=(const Profile &) = delete;
};

struct Transform
{
    cmsHTRANSFORM h = nullptr;
    ~Transform()
    {
        if (h)
            cmsDeleteTransform(h);
    }
};

cmsHPROFILE openBytes(const QByteArray &icc)
{
    if (icc.size() < 128 || icc.size() > MostProfileBytes)
        return nullptr;
    return cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
}

// A damaged profile may hold any number where the library's enumerations are expected:
// they are read as plain numbers.
cmsUInt32Number spaceOf(cmsHPROFILE h)
{
    return cmsUInt32Number(cmsGetColorSpace(h));
}

// A profile made here, as an embedded one would carry it.
QByteArray bytesOf(cmsHPROFILE h)
{
    cmsUInt32Number size = 0;
    if (!h || !cmsSaveProfileToMem(h, nullptr, &size) || size == 0)
        return {};
    QByteArray out(qsizetype(size), '\0');
    return cmsSaveProfileToMem(h, out.data(), &size) ? out : QByteArray();
}

bool usable(cmsHPROFILE h)
{
    if (!h)
        return false;
    const cmsUInt32Number space = spaceOf(h);
    const auto kind = cmsUInt32Number(cmsGetDeviceClass(h));
    const bool spaceKnown =
        space == cmsSigRgbData || space == cmsSigGrayData || space == cmsSigCmykData;
    const bool kindKnown = kind == cmsSigInputClass || kind == cmsSigDisplayClass
                           || kind == cmsSigColorSpaceClass || kind == cmsSigOutputClass;
    return spaceKnown && kindKnown
           && (cmsIsIntentSupported(h, INTENT_PERCEPTUAL, LCMS_USED_AS_INPUT)
               || cmsIsIntentSupported(h, INTENT_RELATIVE_COLORIMETRIC, LCMS_USED_AS_INPUT));
}

// The display's profile, sRGB unless a usable RGB one is set.
cmsHPROFILE openDisplay()
{
    if (cmsHPROFILE h = openBytes(DisplayProfile())) {
        if (usable(h) && spaceOf(h) == cmsSigRgbData)
            return h;
        cmsCloseProfile(h);
    }
    return cmsCreate_sRGBProfile();
}

// Whether two matrix-shaper RGB profiles describe the same colours, so converting would
// only add rounding.
bool sameColours(cmsHPROFILE a, cmsHPROFILE b)
{
    const cmsTagSignature colorants[] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                         cmsSigBlueColorantTag};
    const cmsTagSignature curves[] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    for (int i = 0; i < 3; ++i) {
        const auto *xa = static_cast<const cmsCIEXYZ *>(cmsReadTag(a, colorants[i]));
        const auto *xb = static_cast<const cmsCIEXYZ *>(cmsReadTag(b, colorants[i]));
        const auto *ca = static_cast<const cmsToneCurve *>(cmsReadTag(a, curves[i]));
        const auto *cb = static_cast<const cmsToneCurve *>(cmsReadTag(b, curves[i]));
        if (!xa || !xb || !ca || !cb)
            return false;
        if (std::abs(xa->X - xb->X) > 2e-3 || std::abs(xa->Y - xb->Y) > 2e-3
            || std::abs(xa->Z - xb->Z) > 2e-3)
            return false;
        for (int step = 0; step <= 16; ++step) {
            const float v = float(step) / 16;
            if (std::abs(cmsEvalToneCurveFloat(ca, v) - cmsEvalToneCurveFloat(cb, v)) > 1.0f / 512)
                return false;
        }
    }
    return true;
}

// Calls work(first, count) over the picture's rows, on two threads for a large one.
template<typename Work> void onRows(const QImage &image, Work work)
{
    const int height = image.height();
    if (qint64(image.width()) * height < 1 << 20 || std::thread::hardware_concurrency() < 2) {
        work(0, height);
        return;
    }
    const int half = height / 2;
    std::thread lower(work, half, height - half);
    work(0, half);
    lower.join();
}

} // namespace

void SetDisplayProfile(const QByteArray &icc)
{
    const std::lock_guard<std::mutex> lock(s_displayLock);
    s_display = icc;
}

QByteArray DisplayProfile()
{
    const std::lock_guard<std::mutex> lock(s_displayLock);
    return s_display;
}

bool ProfileUsable(const QByteArray &icc)
{
    const Profile p(openBytes(icc));
    return usable(p.h);
}

QByteArray SrgbProfile()
{
    static const QByteArray bytes = [] {
        const Profile p(cmsCreate_sRGBProfile());
        return bytesOf(p.h);
    }();
    return bytes;
}

QByteArray ProfileFromChromaticities(double gamma, const double white[2], const double red[2],
                                     const double green[2], const double blue[2])
{
    const auto inRange = [](const double xy[2]) {
        return xy[0] > 0 && xy[0] < 1 && xy[1] > 0.01 && xy[1] < 1;
    };
    if (!(gamma > 0.05 && gamma < 5) || !inRange(white) || !inRange(red) || !inRange(green)
        || !inRange(blue))
        return {};
    const cmsCIExyY whitePoint{white[0], white[1], 1.0};
    const cmsCIExyYTRIPLE primaries{
        {red[0], red[1], 1.0}, {green[0], green[1], 1.0}, {blue[0], blue[1], 1.0}};
    cmsToneCurve *curve = cmsBuildGamma(nullptr, 1.0 / gamma);
    if (!curve)
        return {};
    cmsToneCurve *curves[3] = {curve, curve, curve};
    const Profile p(cmsCreateRGBProfile(&whitePoint, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytesOf(p.h);
}

bool ProfileChangesColours(const QByteArray &icc)
{
    if (icc.isEmpty() || icc == DisplayProfile())
        return false;
    const Profile source(openBytes(icc));
    if (!usable(source.h))
        return false;
    const Profile display(openDisplay());
    return spaceOf(source.h) != cmsSigRgbData || !sameColours(source.h, display.h);
}

std::unique_ptr<TDisplayConversion> TDisplayConversion::prepare(const QByteArray &icc,
                                                                QImage::Format format)
{
    if (icc.isEmpty() || icc == DisplayProfile())
        return nullptr;
    const Profile source(openBytes(icc));
    if (!usable(source.h))
        return nullptr;
    const Profile display(openDisplay());
    if (!display.h)
        return nullptr;
    return between(source.h, display.h, format);
}

std::unique_ptr<TDisplayConversion> TDisplayConversion::between(void *fromProfile, void *toProfile,
                                                                QImage::Format format)
{
    auto *from = static_cast<cmsHPROFILE>(fromProfile);
    auto *to = static_cast<cmsHPROFILE>(toProfile);
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
        && format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    std::unique_ptr<TDisplayConversion> c(new TDisplayConversion);
    const cmsUInt32Number space = spaceOf(from);
    if (space == cmsSigGrayData) {
        Transform t{cmsCreateTransform(from, TYPE_GRAY_8, to, TYPE_RGB_8, INTENT_PERCEPTUAL,
                                       cmsFLAGS_NOCACHE)};
        if (!t.h)
            return nullptr;
        uchar grey[256];
        for (int i = 0; i < 256; ++i)
            grey[i] = uchar(i);
        c->m_grey.resize(256 * 3);
        cmsDoTransform(t.h, grey, c->m_grey.data(), 256);
        return c;
    }
    if (space != cmsSigRgbData || sameColours(from, to))
        return nullptr;
    if (format != QImage::Format_ARGB32_Premultiplied)
        c->m_shaper = TMatrixShaper::between(from, to);
    if (c->m_shaper)
        return c;
    const cmsUInt32Number pixels =
        format == QImage::Format_ARGB32_Premultiplied ? PremultipliedFormat : PixelFormat;
    // An opaque picture's fourth byte stays as it is in place; copying it costs time.
    const cmsUInt32Number alpha = format != QImage::Format_RGB32 ? cmsFLAGS_COPY_ALPHA : 0;
    c->m_transform =
        cmsCreateTransform(from, pixels, to, pixels, INTENT_PERCEPTUAL, alpha | cmsFLAGS_NOCACHE);
    return c->m_transform ? std::move(c) : nullptr;
}

TDisplayConversion::~TDisplayConversion()
{
    if (m_transform)
        cmsDeleteTransform(m_transform);
}

void TDisplayConversion::convertRows(uchar *bits, qsizetype stride, int width, int first,
                                     int count) const
{
    if (m_shaper)
        return m_shaper->convertRows(bits, stride, width, first, count);
    if (m_transform) {
        uchar *start = bits + stride * first;
        cmsDoTransformLineStride(m_transform, start, start, cmsUInt32Number(width),
                                 cmsUInt32Number(count), cmsUInt32Number(stride),
                                 cmsUInt32Number(stride), 0, 0);
        return;
    }
    const uchar *rgb = m_grey.data();
    for (int y = first; y < first + count; ++y) {
        auto *line = reinterpret_cast<QRgb *>(bits + stride * y);
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            const int v = qRed(p);
            // A grey profile says nothing of a coloured pixel.
            if (v == qGreen(p) && v == qBlue(p))
                line[x] = qRgba(rgb[v * 3], rgb[v * 3 + 1], rgb[v * 3 + 2], qAlpha(p));
        }
    }
}

void TDisplayConversion::convert(QImage &image) const
{
    uchar *bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    onRows(image,
           [&](int first, int count) { convertRows(bits, stride, image.width(), first, count); });
}

bool ConvertToDisplay(QImage &image, const QByteArray &icc)
{
    if (image.isNull())
        return false;
    // A paletted picture's colours are its palette's.
    if (image.format() == QImage::Format_Indexed8) {
        QList<QRgb> palette = image.colorTable();
        const auto conversion = TDisplayConversion::prepare(icc, QImage::Format_ARGB32);
        if (palette.isEmpty() || !conversion)
            return false;
        conversion->convertRows(reinterpret_cast<uchar *>(palette.data()),
                                palette.size() * qsizetype(sizeof(QRgb)), int(palette.size()), 0,
                                1);
        image.setColorTable(palette);
        return true;
    }
    const auto conversion = TDisplayConversion::prepare(icc, image.format());
    if (!conversion)
        return false;
    conversion->convert(image);
    return true;
}

QImage DisplayToSrgb(QImage image)
{
    const Profile display(openDisplay());
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!display.h || !srgb.h || sameColours(display.h, srgb.h))
        return image;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32
        && image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (const auto conversion = TDisplayConversion::between(display.h, srgb.h, image.format()))
        conversion->convert(image);
    return image;
}

std::unique_ptr<TCmykConverter> TCmykConverter::open(const QByteArray &icc, bool inverted)
{
    const Profile source(openBytes(icc));
    if (!usable(source.h) || spaceOf(source.h) != cmsSigCmykData)
        return nullptr;
    const Profile display(openDisplay());
    // Evaluated in full: the table the library would otherwise make of a CMYK profile is
    // off by up to 20 levels near white, whatever its size or depth.
    cmsHTRANSFORM t =
        cmsCreateTransform(source.h, inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, display.h,
                           PixelFormat, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE | cmsFLAGS_NOOPTIMIZE);
    if (!t)
        return nullptr;
    return std::unique_ptr<TCmykConverter>(new TCmykConverter(t));
}

TCmykConverter::TCmykConverter(void *transform)
    : m_transform(transform)
{}

TCmykConverter::~TCmykConverter()
{
    cmsDeleteTransform(m_transform);
}

void TCmykConverter::convert(QImage &image, int rows) const
{
    rows = qBound(0, rows, image.height());
    if (image.depth() != 32 || rows == 0)
        return;
    const int width = image.width();
    const qsizetype stride = image.bytesPerLine();
    uchar *bits = image.bits();
    const QImage part(bits, width, rows, stride, image.format());
    onRows(part, [&](int first, int count) {
        uchar *start = bits + stride * first;
        cmsDoTransformLineStride(m_transform, start, start, cmsUInt32Number(width),
                                 cmsUInt32Number(count), cmsUInt32Number(stride),
                                 cmsUInt32Number(stride), 0, 0);
        // The fourth byte held the black ink.
        for (int y = first; y < first + count; ++y) {
            auto *line = reinterpret_cast<QRgb *>(bits + stride * y);
            for (int x = 0; x < width; ++x)
                line[x] |= 0xFF000000u;
        }
    });
}
