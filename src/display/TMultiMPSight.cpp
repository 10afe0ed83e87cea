// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TPMultiMedia: the first sight of a large JPEG, and reading the rest of it when needed.
#include "display/TMultiMP.h"

#include <atomic>
#include <chrono>
#include <future>

#include <QDateTime>
#include <QFileInfo>

#include "display/PaintGeometry.h"
#include "platform/Platform.h"

namespace {

// How often the background read's progress is looked at.
constexpr int PollMilliseconds = 15;

std::array<qint64, 2> stampOf(const QString &file)
{
    const QFileInfo info(file);
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

} // namespace

struct WholeDecode
{
    QString file;
    int colorBits = 24;
    int dither = 1;
    TSight sight;
    std::atomic<bool> cancel{false};
    std::atomic<int> percent{0};
    int rowsPainted = 0;
    QImage bitmap;
    TSightResult result;
    bool ok = false;
    std::shared_future<void> done;
};

TPMultiMedia::~TPMultiMedia()
{
    cancelWhole();
    m_wholePool.waitForDone();
}

QSize TPMultiMedia::PictureSize() const
{
    return m_fullSize.isEmpty() ? QSize(m_picture.width(), m_picture.height()) : m_fullSize;
}

TSight TPMultiMedia::loadSight(bool forPrefetch) const
{
    // A reduced palette is made from the whole picture; the other ways of drawing show it
    // at its own size.
    if (!m_imageLibPalette || colorBits() < 24 || m_autoSize)
        return {};
    const QSize area =
        (m_showArea.isEmpty() ? contentsRect().size() : m_showArea) * devicePixelRatioF();
    if (area.isEmpty())
        return {};
    if (m_stretch)
        return {area, Qt::IgnoreAspectRatio, {}, {}};
    if (m_stretchRatio)
        return {area, Qt::KeepAspectRatio, {}, {}};
    // A neighbour may be looked at anywhere; only a centred picture's first view is known.
    if (m_center && !forPrefetch)
        return {{}, Qt::IgnoreAspectRatio, area, {}};
    return {};
}

QRectF TPMultiMedia::heldRect(const QRectF &target) const
{
    if (m_region.isEmpty() || m_fullSize.isEmpty())
        return target;
    const qreal sx = target.width() / m_fullSize.width();
    const qreal sy = target.height() / m_fullSize.height();
    return QRectF(target.left() + m_region.left() * sx, target.top() + m_region.top() * sy,
                  m_region.width() * sx, m_region.height() * sy);
}

QImage TPMultiMedia::rowsArrived() const
{
    if (!m_whole || !m_whole->sight.rows)
        return {};
    QImage rows = m_whole->sight.rows->rowsSoFar();
    return rows.width() == PictureSize().width() ? rows : QImage();
}

TSight TPMultiMedia::sightNeeded() const
{
    if (!m_region.isEmpty() || (!m_stretch && !m_stretchRatio))
        return {};
    const QSize client = contentsRect().size();
    const QSize full = PictureSize();
    const QSize target =
        (m_stretchRatio
             ? StretchRatioRect(client.width(), client.height(), full.width(), full.height()).size()
             : client)
        * devicePixelRatioF();
    return {target, Qt::IgnoreAspectRatio, {}, {}};
}

void TPMultiMedia::needMore()
{
    if (m_fullSize.isEmpty() || m_wholeRefused || !m_picture.isBitmap())
        return;
    const TSight sight = sightNeeded();
    // A scaled picture a pixel short of the target is drawn stretched that pixel.
    if (m_region.isEmpty() && !sight.cover.isEmpty() && sight.cover.width() <= m_picture.width() + 1
        && sight.cover.height() <= m_picture.height() + 1)
        return;
    if (m_whole && !m_whole->cancel) {
        const QSize asked = m_whole->sight.cover;
        const bool enough = asked.isEmpty()
                            || (!sight.cover.isEmpty() && sight.cover.width() <= asked.width()
                                && sight.cover.height() <= asked.height());
        if (enough)
            return;
    }
    startWhole(sight);
}

void TPMultiMedia::startWhole(const TSight &sight)
{
    cancelWhole();
    auto job = std::make_shared<WholeDecode>();
    job->file = m_sightFile;
    job->colorBits = colorBits();
    job->dither = m_imageDither ? 1 : 0;
    job->sight = sight;
    // The whole picture is shown row by row as it arrives.
    if (sight.cover.isEmpty())
        job->sight.rows = std::make_shared<TDecodeRows>();
    auto finished = std::make_shared<std::promise<void>>();
    job->done = finished->get_future().share();
    m_whole = job;
    m_wholePool.start([job, finished] {
        const TProgressCallback progress = [&job = *job](int percent) {
            job.percent = percent;
            return job.cancel ? 0 : 1;
        };
        const TSightReader read = SightReaderFor(KindSuffix(job->file));
        job->ok = read
                  && read(job->file, job->colorBits, job->dither, job->sight, job->bitmap,
                          job->result, progress)
                  && !job->cancel;
        finished->set_value();
    });
    if (!m_wholeTimer.isActive()) {
        m_wholeTimer.setInterval(PollMilliseconds);
        connect(&m_wholeTimer, &QTimer::timeout, this, &TPMultiMedia::pollWhole,
                Qt::UniqueConnection);
        m_wholeTimer.start();
    }
}

void TPMultiMedia::cancelWhole()
{
    if (m_whole)
        m_whole->cancel = true;
    m_whole.reset();
    m_wholeTimer.stop();
}

void TPMultiMedia::pollWhole()
{
    if (!m_whole) {
        m_wholeTimer.stop();
        return;
    }
    const std::shared_ptr<WholeDecode> job = m_whole;
    if (job->done.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        takeWhole();
        return;
    }
    if (job->sight.rows && job->sight.rows->rows() != job->rowsPainted) {
        job->rowsPainted = job->sight.rows->rows();
        update();
    }
    // Stopping keeps the first sight on show; nothing more is read for it unless asked.
    if (ProgressCallback && ReportProgressOf(this, job->percent) == 0 && m_whole == job) {
        cancelWhole();
        m_wholeRefused = true;
    }
}

void TPMultiMedia::takeWhole()
{
    const std::shared_ptr<WholeDecode> job = m_whole;
    m_whole.reset();
    m_wholeTimer.stop();
    if (!job || !job->ok) {
        // What could not be read stays as first seen; a damaged rest is not asked again.
        m_wholeRefused = true;
        return;
    }
    const bool changed = stampOf(job->file) != m_sightStamp;
    m_picture = TPicture::fromBitmap(std::move(job->bitmap));
    m_levels.clear();
    m_fullSize = job->result.fullSize;
    m_region = job->result.region;
    ReportProgressOf(this, 100);
    if (changed) {
        m_sightStamp = stampOf(job->file);
        ReadMediaInfo(job->file);
        PictureChanged();
        Q_EMIT OnPictureReplaced(this);
    } else {
        PictureChanged();
    }
}

bool TPMultiMedia::WholePicture()
{
    if (m_fullSize.isEmpty())
        return true;
    if (!m_whole || !m_whole->sight.cover.isEmpty())
        startWhole({});
    const std::shared_ptr<WholeDecode> job = m_whole;
    while (job->done.wait_for(std::chrono::milliseconds(PollMilliseconds))
           != std::future_status::ready) {
        if (ProgressCallback && ReportProgressOf(this, job->percent) == 0) {
            cancelWhole();
            return false;
        }
    }
    takeWhole();
    return m_fullSize.isEmpty();
}

void TPMultiMedia::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateOpaque();
    needMore();
}
