// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Settings files are edited by hand and shared with other programs' sections.
#include <cstdint>

#include "toolkit/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    IniFile ini(QString{});
    ini.parse(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const QString section = QStringLiteral("Korvid32");
    ini.readInteger(section, QStringLiteral("BackGround"), 0);
    ini.readBool(section, QStringLiteral("AutoStart"), true);
    ini.readString(section, QStringLiteral("LastDirectory"), {});
    ini.writeInteger(section, QStringLiteral("ShowTime"), 5);
    ini.writeString(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("v"));
    // A value written must read back as written, whatever surrounded it.
    IniFile again(QString{});
    again.parse(ini.text());
    if (again.readInteger(section, QStringLiteral("ShowTime"), 0) != 5)
        __builtin_trap();
    return 0;
}
