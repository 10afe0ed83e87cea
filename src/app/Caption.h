// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// A date and time as the desktop writes them: the short date, a blank and the long time
// without a time zone; the time is left out when it is exactly midnight.
QString FileDateTimeText(const QDateTime &when, const QLocale &locale);

// What the window caption says about a shown file.
struct TCaptionFacts
{
    QString name;    // the name part
    qint64 size = 0; // bytes
    QDateTime modified;
    bool showFileInfo = true;
    bool hasPicture = false;
    int width = 0;
    int height = 0;
    int colors = 0; // 0 for true colour
};

// "NAME - SIZE bytes DATE TIME - W x H Pixels x COLOURS Colors": size and date only with
// showFileInfo, dimensions only for a picture, "16M" colours for true colour.
QString FileCaption(const TCaptionFacts &facts, const QLocale &locale);
