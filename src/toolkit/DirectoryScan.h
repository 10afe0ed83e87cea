// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

#include <atomic>

// What one reading of a folder found for the file list.
struct DirectoryScanResult
{
    QStringList names;     // sorted by name without regard to case
    int widest = 0;        // pixel width of the widest name plus "X" in the measuring font
    bool complete = false; // false when the reading was cancelled
};

// The order of the file list: by name without regard to case, then exact case.
bool FileNameLess(const QString &a, const QString &b);

// The clean absolute form of path when it names an existing folder, else an empty string:
// what the file and folder lists take as their directory.
QString ExistingDirectory(const QString &path);

// Reads the visible files of directory whose names match maskList and sorts them. It
// touches no widget, so it may run on a worker thread (Qt 6 fonts are thread-safe); it
// gives up early, incomplete, once cancel becomes true.
DirectoryScanResult ScanDirectory(const QString &directory, const QString &maskList,
                                  const QFont &measureFont,
                                  const std::atomic<bool> *cancel = nullptr);
