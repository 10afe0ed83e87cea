// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBench.h"

#include <random>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "files/FileOperation.h"
#include "files/FileProgress.h"

namespace {

constexpr qint64 Size = qint64(1) << 30;
constexpr int Runs = 3;

bool writeSource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    std::mt19937_64 random(5);
    std::vector<quint64> block((4 << 20) / sizeof(quint64));
    for (qint64 written = 0; written < Size; written += qint64(block.size() * sizeof(quint64))) {
        for (quint64 &word : block)
            word = random();
        if (file.write(reinterpret_cast<const char *>(block.data()),
                       qint64(block.size() * sizeof(quint64)))
            < 0)
            return false;
    }
    return file.flush();
}

} // namespace

void RunFileBenchmarks()
{
    // On the disk the program's files live on, beside the build.
    QTemporaryDir work(QDir::currentPath() + QStringLiteral("/korvid-copy-XXXXXX"));
    const QString source = work.filePath(QStringLiteral("source.bin"));
    if (!work.isValid() || !writeSource(source)) {
        for (const char *name : {"copy_1gib_vs_cp", "copy_ui_block_max"})
            ReportMissing(name, QStringLiteral("cannot write the 1 GiB source"));
        return;
    }
    const QString ours = work.filePath(QStringLiteral("ours.bin"));
    const QString theirs = work.filePath(QStringLiteral("theirs.bin"));
    QString failure;
    const double us = BestSeconds(Runs, [&] {
        QFile::remove(ours);
        std::atomic<qint64> done{0};
        std::atomic<bool> cancel{false};
        QString error;
        if (!CopyFileSafely(source, ours, done, cancel, error))
            failure = error;
    });
    const double cp = BestSeconds(Runs, [&] {
        QFile::remove(theirs);
        if (QProcess::execute(QStringLiteral("cp"), {source, theirs}) != 0)
            failure = QStringLiteral("cp failed");
    });
    if (failure.isEmpty() && !SameContents(source, ours))
        failure = QStringLiteral("the copy differs from the source");
    if (failure.isEmpty())
        ReportRatio("copy_1gib_vs_cp", us / cp);
    else
        ReportMissing("copy_1gib_vs_cp", failure);

    // The same copy as the manager runs it, with its progress window: the longest the
    // window's thread is kept from its events meanwhile.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    TFileOperation operation(foCopy, {{source, work.filePath(QStringLiteral("gap.bin"))}});
    clock.start();
    tick.start();
    RunWithProgress(operation, QStringLiteral("Copying..."), nullptr);
    tick.stop();
    if (!operation.Errors.isEmpty())
        ReportMissing("copy_ui_block_max", operation.Errors.join(u' '));
    else
        ReportValue("copy_ui_block_max", double(longest) / 1e6, 1, "ms");
}
