// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileOperation.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "platform/Platform.h"

namespace {

// Large enough to keep the disk busy, small enough to notice a cancel at once.
constexpr qint64 Chunk = qint64(8) << 20;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Writes a folder's entries to the disk, so a name just given in it survives a power cut.
bool syncDirectory(const QString &path)
{
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

} // namespace

bool CopyFileSafely(const QString &source, const QString &target, std::atomic<qint64> &done,
                    const std::atomic<bool> &cancel, QString &error, bool durable)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = QStringLiteral("%1 could not be read: %2")
                    .arg(QDir::toNativeSeparators(source), in.errorString());
        return false;
    }
    // The temporary file goes away by itself unless it becomes the target.
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/.korvid-copy-XXXXXX"));
    const auto fail = [&](const QString &why) {
        error = QStringLiteral("%1 could not be written: %2")
                    .arg(QDir::toNativeSeparators(target), why);
        return false;
    };
    if (!out.open())
        return fail(out.errorString());
    for (;;) {
        if (cancel)
            return fail(QStringLiteral("cancelled"));
        qint64 copied = CopyFileRange(in.handle(), out.handle(), Chunk);
        if (copied < 0 && errno == ENOSYS) {
            const QByteArray block = in.read(Chunk);
            copied = out.write(block) == block.size() ? block.size() : -1;
        }
        if (copied < 0)
            return fail(systemError());
        if (copied == 0)
            break;
        done += copied;
    }
    if (!out.flush())
        return fail(out.errorString());
    if (durable && fdatasync(out.handle()) != 0)
        return fail(systemError());
    out.setPermissions(QFile::permissions(source));
    out.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
    // One step replaces the target, so it is either the old file or the whole new one.
    if (std::rename(QFile::encodeName(out.fileName()).constData(),
                    QFile::encodeName(target).constData())
        != 0)
        return fail(systemError());
    out.setAutoRemove(false);
    if (durable && !syncDirectory(QFileInfo(target).absolutePath()))
        return fail(systemError());
    return true;
}

bool SameContents(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly)
        || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(Chunk) != second.read(Chunk))
            return false;
    }
    return true;
}

TFileOperation::TFileOperation(TFileOpKind kind, QList<TFileOpItem> items)
    : Kind(kind)
    , Items(std::move(items))
{
    for (const TFileOpItem &item : Items)
        Total += QFileInfo(item.Source).size();
}

void TFileOperation::Run()
{
    for (int i = 0; i < Items.size() && !Cancel; ++i) {
        Current = i;
        const TFileOpItem &item = Items.at(i);
        QString error;
        bool ok = false;
        if (QFileInfo::exists(item.Target) && !item.Replace)
            continue;
        if (QFileInfo(item.Source).absoluteFilePath() == QFileInfo(item.Target).absoluteFilePath())
            continue; // a file onto itself: nothing to do, and nothing to lose
        if (Kind == foCopy)
            ok = CopyFileSafely(item.Source, item.Target, Done, Cancel, error);
        else
            ok = moveOne(item, error);
        if (!ok && !Cancel)
            Errors.append(error);
    }
    Finished = true;
}

bool TFileOperation::moveOne(const TFileOpItem &item, QString &error)
{
    const QByteArray from = QFile::encodeName(item.Source);
    const QByteArray to = QFile::encodeName(item.Target);
    if (!QFileInfo::exists(item.Source)) {
        error = QStringLiteral("%1 is no longer there.").arg(QDir::toNativeSeparators(item.Source));
        return false;
    }
    if (std::rename(from.constData(), to.constData()) == 0) {
        Done += QFileInfo(item.Target).size();
        return true;
    }
    if (errno != EXDEV) {
        error = QStringLiteral("%1 could not be moved: %2")
                    .arg(QDir::toNativeSeparators(item.Source), systemError());
        return false;
    }
    // Another volume: the source goes only once its copy is on the disk and known whole.
    if (!CopyFileSafely(item.Source, item.Target, Done, Cancel, error, true))
        return false;
    if (!SameContents(item.Source, item.Target)) {
        error = QStringLiteral("The copy of %1 differs from it; the original is kept.")
                    .arg(QDir::toNativeSeparators(item.Source));
        return false;
    }
    if (!QFile::remove(item.Source)) {
        error = QStringLiteral("%1 was copied but could not be removed.")
                    .arg(QDir::toNativeSeparators(item.Source));
        return false;
    }
    return true;
}
