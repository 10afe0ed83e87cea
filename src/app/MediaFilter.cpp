// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MediaFilter.h"

#include "platform/Platform.h"

TMediaKind MediaKindOf(const QString &fileName)
{
    const QString extension = KindSuffix(fileName);
    static const QStringList Images = {
        QStringLiteral("BMP"), QStringLiteral("GIF"), QStringLiteral("ICO"), QStringLiteral("JPG"),
        QStringLiteral("PCX"), QStringLiteral("PNG"), QStringLiteral("TIF"), QStringLiteral("WMF")};
    if (Images.contains(extension))
        return mkImage;
    if (extension == QLatin1String("MID") || extension == QLatin1String("RMI"))
        return mkSong;
    if (extension == QLatin1String("WAV"))
        return mkWave;
    if (extension == QLatin1String("AVI") || extension == QLatin1String("MOV"))
        return mkVideo;
    return mkInvalid;
}

QString MakeFilter(const TDeviceCheck &deviceKnown)
{
    const QString pictures = QStringLiteral("*.BMP;*.GIF;*.ICO;*.JPG;*.PCX;*.PNG;*.TIF;*.WMF;");
    QString filter = QStringLiteral("All MultiMedia Files|") + pictures;
    for (const char *extension : {"AVI", "MID", "MOV", "RMI", "WAV"}) {
        if (deviceKnown(QLatin1String(extension)))
            filter += QStringLiteral("*.%1;").arg(QLatin1String(extension));
    }
    filter += QStringLiteral("|Images Only|") + pictures;
    filter += QStringLiteral("|Songs Only|*.MID;*.RMI;|Waves Only|*.WAV|Videos Only|*.AVI;*.MOV");
    const struct
    {
        const char *extension;
        bool checked;
    } singles[] = {{"AVI", true},  {"BMP", false}, {"GIF", false}, {"ICO", false}, {"JPG", false},
                   {"MID", true},  {"MOV", true},  {"PCX", false}, {"PNG", false}, {"RMI", true},
                   {"TIF", false}, {"WAV", true},  {"WMF", false}};
    for (const auto &single : singles) {
        const QString extension = QLatin1String(single.extension);
        if (!single.checked || deviceKnown(extension))
            filter += QStringLiteral("|%1|*.%1").arg(extension);
    }
    return filter;
}
