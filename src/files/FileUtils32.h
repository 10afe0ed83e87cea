// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class TDirectoryListBox;
class TFileListBox;

// Codes of the file actions.
enum TFileActionCode {
    fuCopy = 1000,
    fuDelete = 1001,
    fuMove = 1002,
    fuNewDir = 1003,
    fuDeleteDir = 1004
};

// The file actions of the file manager: copy and move files into a folder (with a
// progress window and a question before replacing a file, whatever the settings say),
// delete files and folders to the desktop's trash (asking first unless ConfirmDelete is
// off), create a folder; and afterwards the lists that show the folders are read again,
// keeping their scroll position by index.
class TFileUtils32
{
public:
    int Action = 0;
    QPointer<TFileListBox> TargetList;
    QPointer<QWidget> SourceList;
    QPointer<TDirectoryListBox> DirList;
    QStringList Names;
    bool ConfirmReplace = true;
    bool ConfirmDelete = true;
    bool ConfirmCopy = true;
    // Where questions and progress windows appear.
    QPointer<QWidget> Owner;
    // The names of the last directory created through the dialog, as the dialog left them
    // (the old name is the parent with a separator appended).
    QString DialogOldName;
    QString DialogNewName;

    void Init() { Names.clear(); }
    void Cleanup() { Names.clear(); }

    bool FileAction(const QStringList &Files, const QString &Target, int action,
                    TFileListBox *targetList, QWidget *sourceList);
    bool ShellCopy(const QStringList &Files, const QString &Target);
    bool ShellMove(const QStringList &Files, const QString &Target);
    bool ShellDelete(const QStringList &Files, bool NoConfirm);
    bool NewDirectory(const QString &Parent);
    bool DeleteDirectory(const QString &Dir);

    // Reads the list's folder again with its first visible line at the same index.
    static void RefreshList(TFileListBox *list);

private:
    bool transfer(const QStringList &files, const QString &target, bool move);
};
