// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include <QDir>
#include <QStandardPaths>
#include <QStorageInfo>

QString ConfigDir()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString dir = QDir(base).filePath(QStringLiteral("korvid"));
    QDir().mkpath(dir);
    return QDir::cleanPath(dir);
}

QString HomeDir()
{
    return QDir::cleanPath(QDir::homePath());
}

QString DefaultBrowseDir()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists())
        return QDir::cleanPath(pictures);
    return HomeDir();
}

QString CanonicalSuffix(const QString &suffix)
{
    const QString upper = suffix.toUpper();
    if (upper == QLatin1String("JPEG") || upper == QLatin1String("JPE"))
        return QStringLiteral("JPG");
    if (upper == QLatin1String("TIFF"))
        return QStringLiteral("TIF");
    return upper;
}

QString KindSuffix(const QString &fileName)
{
    // The last dot of the name part, never one of a folder above it.
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0 || dot < slash)
        return {};
    return CanonicalSuffix(fileName.mid(dot + 1));
}

QStringList VolumeRoots()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    return roots;
}

int CountBackslashes(const QString &text)
{
    // Qt hands paths around with '/', the native form may use another separator.
    const QChar native = QDir::separator();
    int count = 0;
    for (const QChar c : text) {
        if (c == u'/' || c == native)
            ++count;
    }
    return count;
}
