// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FolderWatch.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QThread>

namespace {

constexpr int FirstDelay = 100;
constexpr int LongestDelay = 3000;

class WatchThread : public QThread
{
public:
    ~WatchThread() override
    {
        quit();
        wait();
    }
};

// Setting a watch makes the kernel walk the folder's cached entries: some milliseconds for
// a folder of 100,000 files, which the window would spend not answering. The watches are
// set on a thread of their own, which ends with the application.
QThread *watchThread()
{
    static QPointer<WatchThread> thread;
    if (!thread) {
        thread = new WatchThread;
        thread->setObjectName(QStringLiteral("folder watch"));
        thread->setParent(QCoreApplication::instance());
        thread->start();
    }
    return thread;
}

} // namespace

TFolderWatch::TFolderWatch(QObject *parent)
    : QObject(parent)
    , m_watcher(new QFileSystemWatcher)
    , m_interval(FirstDelay)
{
    m_watcher->moveToThread(watchThread());
    m_delay.setSingleShot(true);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &TFolderWatch::noticed);
    connect(&m_delay, &QTimer::timeout, this, [this] {
        m_sinceTold.start();
        Q_EMIT Changed();
    });
}

TFolderWatch::~TFolderWatch()
{
    // Deleted on its thread, after the changes of folders still due there.
    m_watcher->deleteLater();
}

void TFolderWatch::setFolders(const QStringList &folders)
{
    QStringList wanted = folders;
    wanted.removeAll(QString());
    wanted.removeDuplicates();
    std::sort(wanted.begin(), wanted.end());
    if (wanted == m_folders)
        return;
    m_folders = wanted;
    m_delay.stop();
    m_interval = FirstDelay;
    m_sinceTold.invalidate();
    QMetaObject::invokeMethod(m_watcher, [watcher = m_watcher, wanted] {
        if (!watcher->directories().isEmpty())
            watcher->removePaths(watcher->directories());
        if (!wanted.isEmpty())
            watcher->addPaths(wanted);
    });
}

void TFolderWatch::noticed()
{
    if (m_delay.isActive())
        return;
    // A change within one wait of the last telling means a burst goes on: wait longer. A
    // user's changes, seconds or half-seconds apart, are each told at once.
    const bool burst = m_sinceTold.isValid() && m_sinceTold.elapsed() < m_interval;
    m_interval = burst ? qMin(2 * m_interval, LongestDelay) : FirstDelay;
    m_delay.start(m_interval);
}
