// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include <QDir>
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
