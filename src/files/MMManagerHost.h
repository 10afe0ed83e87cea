// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class TDirectoryListBox;
class TFileListBox;

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
};
