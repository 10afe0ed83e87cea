// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Caption.h"

#include <QRegularExpression>

#include "toolkit/ShownName.h"

QString FileDateTimeText(const QDateTime &when, const QLocale &locale)
{
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() == QTime(0, 0))
        return text;
    // Qt's long time names the time zone, which the desktop's long time does not.
    static const QRegularExpression Zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    const QString format = locale.timeFormat(QLocale::LongFormat).remove(Zone).trimmed();
    return text + u' ' + locale.toString(when.time(), format);
}

QString FileCaption(const TCaptionFacts &facts, const QLocale &locale)
{
    QString caption = ShownName(facts.name);
    if (facts.showFileInfo)
        caption += QStringLiteral(" - %1 bytes %2")
                       .arg(facts.size)
                       .arg(FileDateTimeText(facts.modified, locale));
    if (facts.hasPicture)
        caption +=
            QStringLiteral(" - %1 x %2 Pixels x %3 Colors")
                .arg(facts.width)
                .arg(facts.height)
                .arg(facts.colors == 0 ? QStringLiteral("16M") : QString::number(facts.colors));
    return caption;
}
