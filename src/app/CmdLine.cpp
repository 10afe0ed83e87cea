// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CmdLine.h"

#include <QDir>

TCmdLine ParseCmdLine(const QStringList &arguments, const QString &currentDir)
{
    TCmdLine result;
    // Walking backwards lets the leftmost file overwrite the others.
    for (qsizetype i = arguments.size() - 1; i >= 0; --i) {
        const QString &arg = arguments.at(i);
        if (arg.compare(QLatin1String("/M"), Qt::CaseInsensitive) == 0 || arg == QLatin1String("-m")
            || arg == QLatin1String("--slideshow")) {
            result.AutoStartShow = true;
        } else if (arg.isEmpty() || arg.startsWith(u'-')) {
            continue;
        } else {
            result.FileName = QDir::cleanPath(QDir(currentDir).absoluteFilePath(arg));
        }
    }
    return result;
}

QString CmdLineUsage()
{
    return QStringLiteral(
        "Usage: korvid [options] [file or folder]\n"
        "\n"
        "Korvid MultiMedia Browser shows pictures (BMP, GIF, ICO, JPG, PCX, PNG, TIF, WMF)\n"
        "and plays sounds and videos (WAV, MID, RMI, AVI, MOV).\n"
        "\n"
        "  file or folder     show this file, or browse this folder and show its first picture\n"
        "  /M, -m, --slideshow  start the VorodOdir slideshow once the window shows\n"
        "  --help             print this help and exit\n"
        "  --version          print the version and exit\n");
}
