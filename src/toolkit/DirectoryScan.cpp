// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/DirectoryScan.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include <QCollator>
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

QString NearestExistingDirectory(const QString &path)
{
    QString p = path;
    while (!p.isEmpty() && !QFileInfo(p).isDir() && !QDir(p).isRoot()) {
        const qsizetype cut = p.lastIndexOf(u'/');
        if (cut < 0)
            return {};
        // Up to and including the separator, which a root keeps and others drop.
        p = p.left(cut + 1);
        if (p.size() > 1 && p.endsWith(u'/'))
            p.chop(1);
    }
    return QFileInfo(p).isDir() ? p : QString();
}

QCollator FileNameCollator()
{
    // The C locale (no language chosen, common on servers and in containers) collates by
    // code points, which puts "Z" before "a" and "img10" before "img2"; English uses the
    // common Unicode order instead.
    const QLocale locale = QLocale().language() == QLocale::C
                               ? QLocale(QLocale::English, QLocale::UnitedStates)
                               : QLocale();
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

void SortFileNames(QStringList &names)
{
    const QCollator collator = FileNameCollator();
    // Keys computed once a name, not at every comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(names.size()));
    for (const QString &name : std::as_const(names))
        keys.push_back(collator.sortKey(name));
    std::vector<qsizetype> order(static_cast<size_t>(names.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        // Names the locale holds equal ("a.jpg", "A.jpg") keep one order.
        return byKey != 0 ? byKey < 0 : names.at(a) < names.at(b);
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype index : order)
        sorted.append(names.at(index));
    names = std::move(sorted);
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

    SortFileNames(names);
    if (cancelled())
        return result;
    result.names = std::move(names);

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
