// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ShownName.h"

#include <algorithm>

QString ShownName(const QString &name)
{
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; };
    // Most names have none: those are shared, not copied.
    if (std::none_of(name.cbegin(), name.cend(), isControl))
        return name;
    QString shown;
    shown.reserve(name.size() + 8);
    for (const QChar c : name) {
        if (!isControl(c)) {
            shown += c;
            continue;
        }
        switch (c.unicode()) {
        case u'\n':
            shown += QLatin1String("\\n");
            break;
        case u'\t':
            shown += QLatin1String("\\t");
            break;
        case u'\r':
            shown += QLatin1String("\\r");
            break;
        default:
            shown += QLatin1String("\\x")
                     + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
            break;
        }
    }
    return shown;
}
