// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/PicturePrefetch.h"

#include <atomic>
#include <chrono>
#include <future>

#include <QDateTime>
#include <QFileInfo>

#include "display/codec/Codec.h"
#include "platform/Platform.h"

namespace {

// What identifies one version of a file: a change on disk changes size or time.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &file)
{
    const QFileInfo info(file);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);

Reader readerFor(const QString &file)
{
    const QString suffix = KindSuffix(file);
    if (suffix == QLatin1String("BMP"))
        return ReadBmpFile;
    if (suffix == QLatin1String("PNG"))
        return ReadPngFile;
    if (suffix == QLatin1String("GIF"))
        return ReadGifFile;
    if (suffix == QLatin1String("TIF"))
        return ReadTifFile;
    if (suffix == QLatin1String("PCX"))
        return ReadPcxFile;
    if (suffix == QLatin1String("JPG"))
        return ReadJpgFile;
    return nullptr;
}

// Decoded size of the file's picture for that sight, from its header; 0 when unknown.
qint64 expectedBytes(const QString &file, const TSight &sight)
{
    QString type, description;
    int width = 0, height = 0, bits = 0, dpi = 0, colors = 0;
    if (!ReadImageInfo(file, type, width, height, bits, dpi, colors, description))
        return 0;
    QSize size(width, height);
    if (!sight.cover.isEmpty() && type == QLatin1String("JPG")) {
        // The DCT scaling the decoder will pick, in eighths.
        const QSize cover = sight.coverMode == Qt::IgnoreAspectRatio
                                ? sight.cover
                                : size.scaled(sight.cover, Qt::KeepAspectRatio);
        for (int eighths = 1; eighths < 8; ++eighths) {
            const QSize scaled((width * eighths + 7) / 8, (height * eighths + 7) / 8);
            if (scaled.width() >= cover.width() && scaled.height() >= cover.height()) {
                size = scaled;
                break;
            }
        }
    }
    return qint64(size.width()) * size.height() * 4;
}

// A picture decoded for one sight serves another only when it is the whole picture.
bool serves(const TSight &decodedFor, const TSight &wanted)
{
    return decodedFor == TSight{} || decodedFor == wanted;
}

} // namespace

struct PrefetchEntry
{
    QString file;
    int colorBits = 0;
    int dither = 0;
    TSight sight;
    TSightResult sightResult;
    FileStamp stamp;
    qint64 bytes = 0;
    std::atomic<bool> cancel{false};
    std::atomic<int> percent{0};
    std::shared_future<QImage> result; // null picture when the decode failed
};

TPicturePrefetch::TPicturePrefetch(qint64 budgetBytes)
    : m_budget(budgetBytes)
{
    m_pool.setMaxThreadCount(1);
}

TPicturePrefetch::~TPicturePrefetch()
{
    clear();
    m_pool.waitForDone();
}

void TPicturePrefetch::clear()
{
    for (const auto &entry : std::as_const(m_entries))
        entry->cancel = true;
    m_entries.clear();
}

qint64 TPicturePrefetch::heldBytes() const
{
    qint64 total = 0;
    for (const auto &entry : m_entries)
        total += entry->bytes;
    return total;
}

bool TPicturePrefetch::isReady(const QString &file) const
{
    const auto entry = m_entries.value(file);
    return entry && entry->result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

void TPicturePrefetch::dropUnwanted(const QStringList &wanted)
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!wanted.contains(it.key())) {
            it.value()->cancel = true;
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
}

void TPicturePrefetch::prefetch(const QStringList &files, int colorBits, int dither,
                                qint64 shownBytes, const TSight &sight)
{
    dropUnwanted(files);
    const qint64 room = qMin(m_budget, DecodeLimit() - shownBytes);
    qint64 used = 0;
    for (const QString &file : files) {
        if (!readerFor(file))
            continue;
        const FileStamp stamp = stampOf(file);
        auto existing = m_entries.value(file);
        if (existing && existing->stamp == stamp && existing->colorBits == colorBits
            && existing->dither == dither && serves(existing->sight, sight)) {
            used += existing->bytes;
            continue;
        }
        if (existing) {
            existing->cancel = true;
            m_entries.remove(file);
        }
        const qint64 bytes = expectedBytes(file, sight);
        if (bytes <= 0 || used + bytes > room)
            continue;
        used += bytes;
        m_entries.insert(file, start(file, colorBits, dither, sight, bytes));
    }
}

std::shared_ptr<PrefetchEntry> TPicturePrefetch::start(const QString &file, int colorBits,
                                                       int dither, const TSight &sight,
                                                       qint64 bytes)
{
    auto entry = std::make_shared<PrefetchEntry>();
    entry->file = file;
    entry->colorBits = colorBits;
    entry->dither = dither;
    entry->sight = sight;
    entry->stamp = stampOf(file);
    entry->bytes = bytes;
    auto promise = std::make_shared<std::promise<QImage>>();
    entry->result = promise->get_future().share();
    m_pool.start([entry, promise] {
        QImage bitmap;
        bool ok = false;
        if (!entry->cancel) {
            const TProgressCallback progress = [&entry = *entry](int percent) {
                entry.percent = percent;
                return entry.cancel ? 0 : 1;
            };
            const TSightReader sightReader = SightReaderFor(KindSuffix(entry->file));
            ok = sightReader && !(entry->sight == TSight{})
                     ? sightReader(entry->file, entry->colorBits, entry->dither, entry->sight,
                                   bitmap, entry->sightResult, progress)
                     : readerFor(entry->file)(entry->file, entry->colorBits, entry->dither, bitmap,
                                              progress);
        }
        promise->set_value(ok && !entry->cancel ? bitmap : QImage());
    });
    return entry;
}

bool TPicturePrefetch::take(const QString &file, int colorBits, int dither, const TSight &sight,
                            QImage &bitmap, TSightResult &result, const TProgressCallback &progress)
{
    const auto entry = m_entries.value(file);
    if (!entry || entry->colorBits != colorBits || entry->dither != dither
        || !serves(entry->sight, sight))
        return false;
    if (entry->stamp != stampOf(file)) {
        entry->cancel = true;
        m_entries.remove(file);
        return false;
    }
    while (entry->result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (progress && progress(entry->percent) == 0)
            return false;
    }
    const QImage decoded = entry->result.get();
    // The file may have changed while it was being read.
    if (decoded.isNull() || entry->stamp != stampOf(file)) {
        m_entries.remove(file);
        return false;
    }
    bitmap = decoded;
    // Written by the worker before the picture was handed over.
    result = entry->sightResult;
    return true;
}
