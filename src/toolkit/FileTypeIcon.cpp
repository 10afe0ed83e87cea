// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FileTypeIcon.h"

#include <QApplication>
#include <QHash>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QStyle>

namespace {

// Under a bare window manager no desktop names an icon theme, and Qt then looks only in
// hicolor, which holds no file-type pictures; GTK programs use Adwaita then, and so does
// this one. A theme the desktop names is kept.
void useDesktopIconTheme()
{
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString &dir :
             QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                       QStandardPaths::LocateDirectory)) {
            if (!paths.contains(dir))
                paths.append(dir);
        }
        QIcon::setThemeSearchPaths(paths);
        const QString hicolor = QStringLiteral("hicolor");
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(hicolor);
        if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == hicolor)
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

QIcon FileTypeIcon(const QString &fileName)
{
    useDesktopIconTheme();
    static QHash<QString, QIcon> cache;
    static const QMimeDatabase types;
    const QMimeType type = types.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    const auto known = cache.constFind(type.name());
    if (known != cache.constEnd())
        return *known;
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    cache.insert(type.name(), icon);
    return icon;
}
