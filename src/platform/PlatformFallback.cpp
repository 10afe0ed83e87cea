// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <cerrno>
#include <cstdlib>

QStringList Subdirectories(const QString &directory)
{
    return QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

qint64 CopyFileRange(int, int, qint64)
{
    // No descriptor-level copy here; callers fall back to their own buffered copy.
    errno = ENOSYS;
    return -1;
}

bool SetDesktopWallpaper(const QString &)
{
    return false;
}

quint32 InhibitScreenSaver(const QString &)
{
    return 0;
}

void ReleaseScreenSaver(quint32) {}

bool DriveReady(const QString &root)
{
    const QStorageInfo volume(root);
    return volume.isValid() && volume.isReady() && QDir(root).isReadable();
}

QString DesktopWallpaper()
{
    return {};
}

bool MediaEngineCanPlay(const QString &)
{
    return false;
}

void *AllocateLargeBuffer(std::size_t bytes)
{
    return std::malloc(bytes);
}

void FreeLargeBuffer(void *buffer)
{
    std::free(buffer);
}

bool MoveToTrash(const QString &path, QString &error)
{
    // Qt 6.4 puts the item into "files" and "info" under the current directory when the
    // data folder holding the home trash does not exist yet: make sure it does.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString where;
    if (!QFile::moveToTrash(path, &where)) {
        error = QFileInfo::exists(path) ? QStringLiteral("the trash refused it")
                                        : QStringLiteral("it is no longer there");
        return false;
    }
    if (!QFileInfo(where).isAbsolute()) {
        QFile::rename(where, path);
        error = QStringLiteral("the trash folder could not be found");
        return false;
    }
    return true;
}

QString DecodeLegacyText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray ScreenColorProfile()
{
    return {};
}
