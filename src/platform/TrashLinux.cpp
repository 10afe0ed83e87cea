// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The freedesktop.org trash, written here because the toolkit's own (Qt 6.4) puts the
// original path into the .trashinfo file without percent-encoding, so that desktop trash
// views list and restore names with spaces, "%" or other letters wrongly.
#include "platform/Platform.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Trash
{
    QString dir;
    // The volume's top directory for a trash on that volume (paths in it are relative),
    // empty for the home trash (paths absolute).
    QString top;
};

dev_t deviceOf(const QByteArray &path)
{
    struct stat st
    {};
    return ::lstat(path.constData(), &st) == 0 ? st.st_dev : dev_t(-1);
}

// The top directory of the volume holding path: the last parent on the same device.
QString topDirectory(const QString &path)
{
    const dev_t device = deviceOf(QFile::encodeName(path));
    QString top = QFileInfo(path).absolutePath();
    while (top != QLatin1String("/")) {
        const QString parent = QFileInfo(top).absolutePath();
        if (deviceOf(QFile::encodeName(parent)) != device)
            break;
        top = parent;
    }
    return top;
}

bool makeTrashDirs(const QString &dir)
{
    for (const char *sub : {"", "/files", "/info"}) {
        const QByteArray path = QFile::encodeName(dir + QLatin1String(sub));
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        struct stat st
        {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return false;
    }
    return true;
}

// Home trash when the item is on the same volume, else the volume's own: $top/.Trash/$uid
// when the administrator made a sticky, real .Trash there, $top/.Trash-$uid otherwise.
bool trashFor(const QString &path, Trash &trash)
{
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         + QLatin1String("/Trash");
    QDir().mkpath(QFileInfo(home).absolutePath());
    const dev_t device = deviceOf(QFile::encodeName(path));
    if (deviceOf(QFile::encodeName(QFileInfo(home).absolutePath())) == device
        && makeTrashDirs(home)) {
        trash = {home, {}};
        return true;
    }
    const QString top = topDirectory(path);
    const QString uid = QString::number(::getuid());
    struct stat st
    {};
    const QString shared = top + QLatin1String("/.Trash");
    if (::lstat(QFile::encodeName(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && (st.st_mode & S_ISVTX) && makeTrashDirs(shared + u'/' + uid)) {
        trash = {shared + u'/' + uid, top};
        return true;
    }
    const QString own = top + QLatin1String("/.Trash-") + uid;
    if (makeTrashDirs(own)) {
        trash = {own, top};
        return true;
    }
    return false;
}

// Claims a free name in info/ by creating its .trashinfo exclusively; the open file
// descriptor is returned, the name in name.
int claimInfo(const Trash &trash, const QString &original, QString &name)
{
    const QFileInfo info(original);
    const QString base =
        info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
    const QString suffix = info.completeBaseName().isEmpty() || info.suffix().isEmpty()
                               ? QString()
                               : u'.' + info.completeSuffix();
    for (int n = 1; n < 100000; ++n) {
        name = n == 1 ? info.fileName() : QStringLiteral("%1.%2%3").arg(base).arg(n).arg(suffix);
        const QByteArray path = QFile::encodeName(trash.dir + QLatin1String("/info/") + name
                                                  + QLatin1String(".trashinfo"));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

bool MoveToTrash(const QString &path, QString &error)
{
    const QString original = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    struct stat st
    {};
    if (::lstat(QFile::encodeName(original).constData(), &st) != 0) {
        error = QStringLiteral("it is no longer there");
        return false;
    }
    Trash trash;
    if (!trashFor(original, trash)) {
        error = QStringLiteral("the trash folder could not be found or made");
        return false;
    }
    QString name;
    const int fd = claimInfo(trash, original, name);
    if (fd < 0) {
        error = QStringLiteral("the trash refused it");
        return false;
    }
    const QString infoPath =
        trash.dir + QLatin1String("/info/") + name + QLatin1String(".trashinfo");
    // The path as a URL path: every byte outside the unreserved set escaped, "/" kept.
    const QString stored =
        trash.top.isEmpty() ? original : QDir(trash.top).relativeFilePath(original);
    const QByteArray contents =
        "[Trash Info]\nPath=" + QUrl::toPercentEncoding(stored, "/")
        + "\nDeletionDate=" + QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + "\n";
    const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    ::close(fd);
    const QByteArray target = QFile::encodeName(trash.dir + QLatin1String("/files/") + name);
    if (!written || ::rename(QFile::encodeName(original).constData(), target.constData()) != 0) {
        error = written ? QString::fromLocal8Bit(std::strerror(errno))
                        : QStringLiteral("its entry in the trash could not be written");
        ::unlink(QFile::encodeName(infoPath).constData());
        return false;
    }
    return true;
}
