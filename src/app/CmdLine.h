// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct TCmdLine
{
    QString FileName;           // full path of the file to show, empty when none
    bool AutoStartShow = false; // start a slideshow once the window shows
};

// Scans the arguments (without the program's own name). "/M" in any case, "-m" and
// "--slideshow" ask for a slideshow; any other argument beginning with '-' is an unknown
// switch and ignored. Every other argument is a file, "/x" included, since on this system
// such an argument is an absolute path. The leftmost file wins; relative names are
// expanded against currentDir.
TCmdLine ParseCmdLine(const QStringList &arguments, const QString &currentDir);

// Text printed by --help.
QString CmdLineUsage();
