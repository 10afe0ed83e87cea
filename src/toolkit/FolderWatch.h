// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Tells when folders change on disk (a file added, removed or renamed by any program),
// through the platform's notification (inotify on Linux). A burst of changes is told a
// few times, not once a change: the first a tenth of a second after it starts, then at
// intervals that double while the changes go on.
class QFileSystemWatcher;

class TFolderWatch : public QObject
{
    Q_OBJECT
public:
    explicit TFolderWatch(QObject *parent = nullptr);
    ~TFolderWatch() override;

    // The folders to watch; folders that cannot be watched (gone, or the system's
    // watches used up) are left out without a word.
    void setFolders(const QStringList &folders);

Q_SIGNALS:
    void Changed();

private:
    void noticed();

    QFileSystemWatcher *m_watcher; // lives on the watch thread
    QStringList m_folders;
    QTimer m_delay;
    QElapsedTimer m_sinceTold;
    int m_interval;
};
