// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

#include "display/codec/DecodeRows.h"

// Called with a percentage while a picture loads; answers 0 to stop the load, 1 to go on.
using TProgressCallback = std::function<int(int percent)>;

// Largest decoded picture any decoder will allocate, in bytes (1 GiB unless changed).
qint64 DecodeLimit();
void SetDecodeLimit(qint64 bytes);

// What one decode shares with its decoder: the progress routine, the size limit and the
// reason for a failure. Progress goes out as 0 first, then whenever the whole percentage
// grows, and 100 last; once the routine answers 0 nothing more is reported and the
// decoder gives up at its next check.
class DecodeContext
{
public:
    explicit DecodeContext(TProgressCallback progress = {});

    // Reports 0. False when the routine asks to stop.
    bool begin();
    // Reports done/total as a percentage below 100. False when the load must stop.
    bool advance(qint64 done, qint64 total);
    // Reports 100 unless the load was stopped.
    void end();
    bool stopped() const { return m_stopped; }

    // The colour depth the picture will be shown at (ApplyColorDepth's colorBits); more
    // than 8 unless said.
    void setShownColorBits(int bits) { m_shownBits = bits; }
    // Checks a picture of width x height decoded at bytesPerPixel against the limit before
    // anything is allocated, counting what showing it costs on top: the 32-bit copy a
    // picture of fewer bytes is widened to, and the palette picture a reduced colour depth
    // makes, all of which exist at once while it is converted, and the display's reduced
    // copies. Records why when it does not fit.
    bool fits(qint64 width, qint64 height, int bytesPerPixel);
    // A QImage of that size and format, or a null one (with the reason recorded).
    QImage allocate(int width, int height, QImage::Format format);

    // Records the first reason a decode failed; returns a null picture for convenience.
    QImage fail(const QString &why);
    QString error() const { return m_error; }
    // Whether the failure was a picture too large for the limit.
    bool tooLarge() const { return m_tooLarge; }
    // A second reader managed what the first failed at: no failure stays recorded.
    void clearFailure()
    {
        m_error.clear();
        m_tooLarge = false;
    }

    // The data ended before the picture did: what could be decoded is shown.
    void setTruncated() { m_truncated = true; }
    bool truncated() const { return m_truncated; }

    // The smallest size the picture must still cover where it is shown (empty: the whole
    // picture is needed); with KeepAspectRatio, the picture fitted into that size. A
    // decoder that can decode smaller at little cost (JPEG's DCT scaling) may then return
    // a picture no smaller than this, and records the picture's full size, as shown, in
    // fullSize().
    void setCoverSize(QSize size, Qt::AspectRatioMode mode = Qt::IgnoreAspectRatio)
    {
        m_cover = size;
        m_coverMode = mode;
    }
    QSize coverSize() const { return m_cover; }
    Qt::AspectRatioMode coverMode() const { return m_coverMode; }
    void setFullSize(QSize size) { m_fullSize = size; }
    // Empty when the picture was decoded at its full size.
    QSize fullSize() const { return m_fullSize; }

    // Only this much of the picture, centred in it as shown, is needed first (empty: all
    // of it). A decoder that can decode a part at little cost (JPEG) may then return just
    // that part, recording where it lies in the picture as shown in regionDecoded() and
    // the picture's full size in fullSize().
    void setCentredRegion(QSize size) { m_region = size; }
    QSize centredRegion() const { return m_region; }
    void setRegionDecoded(QRect rect) { m_regionDecoded = rect; }
    // Empty when the whole picture was decoded.
    QRect regionDecoded() const { return m_regionDecoded; }

    // Rows of the picture may be watched from another thread while they are decoded: the
    // first picture allocated is filled in the watch's pixels, and a decoder that knows a
    // row final (in place, at full size and as shown) tells it with rowsFinal().
    void setRowsWatch(std::shared_ptr<TDecodeRows> watch) { m_rowsWatch = std::move(watch); }
    bool rowsWatched() const { return m_rowsWatch != nullptr; }
    void rowsFinal(int rows) const
    {
        if (m_rowsWatch)
            m_rowsWatch->setRows(rows);
    }

    // The ICC profile the picture carries (empty: none), converted from once decoded.
    void setColorProfile(const QByteArray &icc) { m_colorProfile = icc; }
    QByteArray colorProfile() const { return m_colorProfile; }
    // A decoder that converted the colours as it decoded says so; none else is made.
    void setColorsConverted() { m_colorsConverted = true; }
    bool colorsConverted() const { return m_colorsConverted; }

private:
    bool report(int percent);

    TProgressCallback m_progress;
    int m_reported = -1;
    bool m_stopped = false;
    bool m_truncated = false;
    bool m_tooLarge = false;
    int m_shownBits = 24;
    QSize m_cover;
    Qt::AspectRatioMode m_coverMode = Qt::IgnoreAspectRatio;
    QSize m_fullSize;
    QSize m_region;
    QRect m_regionDecoded;
    std::shared_ptr<TDecodeRows> m_rowsWatch;
    QByteArray m_colorProfile;
    bool m_colorsConverted = false;
    QString m_error;
};
