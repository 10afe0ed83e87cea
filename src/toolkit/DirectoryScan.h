// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollator>
#include <QFont>
#include <QStringList>

#include <atomic>

// What one reading of a folder found for the file list.
struct DirectoryScanResult
{
    QStringList names;     // in the order of SortFileNames
    int widest = 0;        // pixel width of the widest name plus "X" in the measuring font
    bool complete = false; // false when the reading was cancelled
};

// The order of the lists, as the desktop's file managers sort: by the user's locale,
// numbers by their value ("img2" before "img10"), case ignored.
QCollator FileNameCollator();
void SortFileNames(QStringList &names);

// The clean absolute form of path when it names an existing folder, else an empty string:
// what the file and folder lists take as their directory.
QString ExistingDirectory(const QString &path);
// A path made usable (a bookmark's, a folder removed while shown): while it is not an
// existing directory and not a root, cut it back to its parent. Empty when nothing of it
// exists.
QString NearestExistingDirectory(const QString &path);

// Reads the visible files of directory whose names match maskList and sorts them. It
// touches no widget, so it may run on a worker thread (Qt 6 fonts are thread-safe); it
// gives up early, incomplete, once cancel becomes true.
DirectoryScanResult ScanDirectory(const QString &directory, const QString &maskList,
                                  const QFont &measureFont,
                                  const std::atomic<bool> *cancel = nullptr);
