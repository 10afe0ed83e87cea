// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/DecodeContext.h"

#include <atomic>

#include "platform/Platform.h"

namespace {

std::atomic<qint64> s_decodeLimit{qint64(1) << 30};

} // namespace

qint64 DecodeLimit()
{
    return s_decodeLimit.load();
}

void SetDecodeLimit(qint64 bytes)
{
    s_decodeLimit.store(bytes);
}

DecodeContext::DecodeContext(TProgressCallback progress)
    : m_progress(std::move(progress))
{}

bool DecodeContext::report(int percent)
{
    if (m_stopped)
        return false;
    if (percent <= m_reported)
        return true;
    m_reported = percent;
    if (m_progress && m_progress(percent) == 0) {
        m_stopped = true;
        fail(QStringLiteral("Loading was stopped."));
        return false;
    }
    return true;
}

bool DecodeContext::begin()
{
    return report(0);
}

bool DecodeContext::advance(qint64 done, qint64 total)
{
    if (m_stopped)
        return false;
    if (total <= 0)
        return true;
    const qint64 percent = qBound(qint64(0), done * 100 / total, qint64(99));
    return report(int(percent));
}

void DecodeContext::end()
{
    report(100);
}

bool DecodeContext::fits(qint64 width, qint64 height, int bytesPerPixel)
{
    if (width <= 0 || height <= 0) {
        fail(QStringLiteral("The picture has no pixels (%1 x %2).").arg(width).arg(height));
        return false;
    }
    // Dimensions beyond this cannot be multiplied safely and no screen shows them.
    constexpr qint64 MaxSide = qint64(1) << 28;
    const qint64 decoded = qMax(1, bytesPerPixel);
    qint64 perPixel = decoded < 4 ? decoded + 4 : decoded;
    if (m_shownBits <= 8)
        perPixel += 1;
    // A true-colour picture shown reduced keeps copies of a quarter, an eighth... of its
    // size beside it: at most a fifteenth of its bytes more.
    const auto cost = [&] {
        const qint64 pixels = width * height;
        return pixels * perPixel + (m_shownBits > 8 ? pixels * 4 / 15 : 0);
    };
    if (width > MaxSide || height > MaxSide || cost() > DecodeLimit()) {
        m_tooLarge = true;
        fail(QStringLiteral("The picture is too large to show (%1 x %2 pixels).")
                 .arg(width)
                 .arg(height));
        return false;
    }
    return true;
}

QImage DecodeContext::allocate(int width, int height, QImage::Format format)
{
    const int bytesPerPixel = qMax(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
    if (!fits(width, height, bytesPerPixel))
        return {};
    const qsizetype bytesPerLine =
        ((qsizetype(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) >> 5) << 2;
    void *pixels = AllocateLargeBuffer(size_t(bytesPerLine) * size_t(height));
    if (!pixels)
        return fail(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels.")
                        .arg(width)
                        .arg(height));
    if (!m_rowsWatch || m_rowsWatch->hasPixels())
        return QImage(static_cast<uchar *>(pixels), width, height, bytesPerLine, format,
                      FreeLargeBuffer, pixels);
    // Shared with the watch: the pixels go when both the picture and the watch are gone.
    const std::shared_ptr<void> shared(pixels, FreeLargeBuffer);
    m_rowsWatch->setPixels(shared, QSize(width, height), bytesPerLine, format);
    return QImage(
        static_cast<uchar *>(pixels), width, height, bytesPerLine, format,
        [](void *keep) { delete static_cast<std::shared_ptr<void> *>(keep); },
        new std::shared_ptr<void>(shared));
}

QImage DecodeContext::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = why;
    return {};
}
