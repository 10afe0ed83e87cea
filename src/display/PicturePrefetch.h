// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QImage>
#include <QStringList>
#include <QThreadPool>

#include <memory>

#include "display/codec/Codec.h"

struct PrefetchEntry;

// Decodes the pictures the user is likely to look at next on a worker thread, so that
// stepping through a folder shows each at once. A picture is handed out only when it
// was decoded with the same colour depth and dithering from a file that has not changed
// since (same size and modification time); otherwise the caller decodes as usual, so
// prefetching never changes what is shown or reported. Decoded pictures are kept within
// a memory budget; pictures that no longer are wished for go first.
class TPicturePrefetch
{
public:
    explicit TPicturePrefetch(qint64 budgetBytes = qint64(384) << 20);
    ~TPicturePrefetch();
    TPicturePrefetch(const TPicturePrefetch &) = delete;
    TPicturePrefetch &operator=(const TPicturePrefetch &) = delete;

    qint64 budget() const { return m_budget; }
    void setBudget(qint64 bytes) { m_budget = bytes; }

    // The files to have ready, most wanted first; earlier wishes not among them are
    // stopped or dropped when room is needed. Together with shownBytes (the picture on
    // show) they stay within the decode limit as well as the budget. A JPEG is decoded
    // for the sight given (a fitted display decodes it smaller).
    void prefetch(const QStringList &files, int colorBits, int dither, qint64 shownBytes = 0,
                  const TSight &sight = {});

    // A picture decoded ahead of time for this file and these settings, for this sight or
    // whole. One still being decoded is waited for, reporting progress, which may give up
    // the wait (false). result tells what the bitmap is of the picture.
    bool take(const QString &file, int colorBits, int dither, const TSight &sight, QImage &bitmap,
              TSightResult &result, const TProgressCallback &progress);
    bool take(const QString &file, int colorBits, int dither, QImage &bitmap,
              const TProgressCallback &progress)
    {
        TSightResult result;
        return take(file, colorBits, dither, {}, bitmap, result, progress);
    }

    // Bytes held by finished pictures.
    qint64 heldBytes() const;
    // Whether a decode for file is finished and waiting (for tests and benchmarks).
    bool isReady(const QString &file) const;
    void clear();

private:
    std::shared_ptr<PrefetchEntry> start(const QString &file, int colorBits, int dither,
                                         const TSight &sight, qint64 bytes);
    void dropUnwanted(const QStringList &wanted);

    qint64 m_budget;
    QThreadPool m_pool;
    QHash<QString, std::shared_ptr<PrefetchEntry>> m_entries;
};
