// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/DirectoryScan.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFontMetrics>

#include "toolkit/FileMask.h"
#include "toolkit/ShownName.h"

QString ExistingDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return {};
    return QDir::cleanPath(info.absoluteFilePath());
}

bool FileNameLess(const QString &a, const QString &b)
{
    const int byKey = QString::compare(a.toCaseFolded(), b.toCaseFolded(), Qt::CaseSensitive);
    return byKey != 0 ? byKey < 0 : a < b;
}

DirectoryScanResult ScanDirectory(const QString &directory, const QString &maskList,
                                  const QFont &measureFont, const std::atomic<bool> *cancel)
{
    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    DirectoryScanResult result;
    const FileMask mask(maskList);
    QStringList names;
    QDirIterator it(directory, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (mask.matches(name))
            names.append(name);
        if ((names.size() & 4095) == 0 && cancelled())
            return result;
    }

    // Sort on case-folded keys computed once, not on every comparison.
    QStringList keys;
    keys.reserve(names.size());
    for (const QString &name : names)
        keys.append(name.toCaseFolded());
    std::vector<qsizetype> order(static_cast<size_t>(names.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = QString::compare(keys.at(a), keys.at(b), Qt::CaseSensitive);
        return byKey != 0 ? byKey < 0 : names.at(a) < names.at(b);
    });
    if (cancelled())
        return result;

    result.names.reserve(names.size());
    for (const qsizetype index : order)
        result.names.append(names.at(index));

    const QFontMetrics metrics(measureFont);
    const int x = metrics.horizontalAdvance(u'X');
    for (qsizetype i = 0; i < result.names.size(); ++i) {
        result.widest =
            std::max(result.widest, metrics.horizontalAdvance(ShownName(result.names.at(i))) + x);
        if ((i & 4095) == 0 && cancelled())
            return result;
    }
    result.complete = true;
    return result;
}
