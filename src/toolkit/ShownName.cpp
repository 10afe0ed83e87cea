// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ShownName.h"

#include <algorithm>

QString ShownName(const QString &name)
{
    constexpr char16_t Pictures = 0x2400; // U+2400 SYMBOL FOR NULL, then one per C0 code
    constexpr char16_t Delete = 0x2421;
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; };
    // Most names have none: those are shared, not copied.
    if (std::none_of(name.cbegin(), name.cend(), isControl))
        return name;
    QString shown = name;
    for (QChar &c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(char16_t(Pictures + c.unicode()));
        else if (c.unicode() == 0x7f)
            c = QChar(Delete);
    }
    return shown;
}
