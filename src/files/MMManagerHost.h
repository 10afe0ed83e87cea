// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QMenu;
class QWidget;
class TDirectoryListBox;
class TFileListBox;

// The owner's confirmation settings, copied into the file actions before each one.
struct TFileConfirmations
{
    bool Delete = true;
    bool Copy = true;
    bool Replace = true;
};

// What the file manager needs of the main window that owns it.
class TMMManagerHost
{
public:
    virtual ~TMMManagerHost() = default;
    virtual TDirectoryListBox *HostDirectoryList() const = 0;
    virtual TFileListBox *HostFileList() const = 0;
    virtual QString HostMediaFilter() const = 0;
    virtual QString HostProgramDir() const = 0;
    virtual QString HostIniPath() const = 0;
    virtual qint32 HostListBackGround() const = 0;
    // Shows a file in the main window as if chosen there.
    virtual void HostOpenFile(const QString &path) = 0;
    // Called when the manager closes: the owner shows its hidden panel again.
    virtual void HostManagerClosed() = 0;
    virtual TFileConfirmations HostConfirmations() const = 0;

    // The owner's slideshow.
    virtual bool HostShowRunning() const = 0;
    // Moves the owner's lists to directory, selects file when given, and starts the show.
    virtual void HostStartShow(const QString &directory, const QString &file) = 0;
    virtual void HostStopShow() = 0;

    // The owner's options command, with its dialog over caller.
    virtual void HostConfigure(QWidget *caller) = 0;

    // The owner's bookmark store: add one for path (asking for its name), fill a menu
    // with the bookmarks after its two fixed items, the usable directory of a bookmark
    // (empty when none), and the organizer window.
    virtual bool HostAddBookmark(const QString &path) = 0;
    virtual void HostBuildBookmarkMenu(QMenu *menu,
                                       const std::function<void(const QString &)> &onClick) = 0;
    virtual QString HostBookmarkTarget(const QString &name) = 0;
    virtual void HostOrganizeBookmarks() = 0;
};
