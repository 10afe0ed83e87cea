// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/PlatformIni.h"

#include <QDir>

#include "platform/Platform.h"
#include "toolkit/IniFile.h"

QString PlatformIniValue(const QString &section, const QString &key, const QString &def)
{
    const IniFile ini(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")));
    return ini.readString(section, key, def);
}
