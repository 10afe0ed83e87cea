// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileUtils32.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "files/FileOperation.h"
#include "files/FileProgress.h"
#include "files/Newren.h"
#include "platform/Platform.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

bool TFileUtils32::FileAction(const QStringList &Files, const QString &Target, int action,
                              TFileListBox *targetList, QWidget *sourceList)
{
    Action = action;
    TargetList = targetList;
    SourceList = sourceList;
    bool result = false;
    switch (action) {
    case fuCopy:
        result = ShellCopy(Files, Target);
        RefreshList(TargetList);
        break;
    case fuMove:
        result = ShellMove(Files, Target);
        RefreshList(TargetList);
        RefreshList(qobject_cast<TFileListBox *>(SourceList));
        break;
    case fuDelete:
        ShellDelete(Files, !ConfirmDelete);
        RefreshList(TargetList);
        break;
    case fuNewDir:
        result = NewDirectory(Target);
        break;
    case fuDeleteDir:
        DirList = qobject_cast<TDirectoryListBox *>(SourceList);
        result = DeleteDirectory(Target);
        break;
    default:
        break;
    }
    return result;
}

void TFileUtils32::RefreshList(TFileListBox *list)
{
    if (!list)
        return;
    const int top = list->TopIndex();
    list->Update();
    list->setTopIndex(top);
}

bool TFileUtils32::transfer(const QStringList &files, const QString &target, bool move)
{
    QList<TFileOpItem> items;
    bool replaceAll = false;
    for (const QString &file : files) {
        TFileOpItem item;
        item.Source = file;
        item.Target = QDir(target).filePath(QFileInfo(file).fileName());
        if (QFileInfo::exists(item.Target)
            && QFileInfo(item.Target).absoluteFilePath() != QFileInfo(file).absoluteFilePath()) {
            if (!replaceAll) {
                const auto answer = MessageDlg(
                    Owner, QStringLiteral("Confirm File Replace"),
                    QStringLiteral("This folder already contains a file named \"%1\".\n\n"
                                   "Would you like to replace the existing file with this one?")
                        .arg(QFileInfo(file).fileName()),
                    QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No
                        | QMessageBox::Cancel);
                if (answer == QMessageBox::Cancel)
                    return false;
                if (answer == QMessageBox::No)
                    continue;
                replaceAll = answer == QMessageBox::YesToAll;
            }
            item.Replace = true;
        }
        items.append(item);
    }
    TFileOperation operation(move ? foMove : foCopy, items);
    RunWithProgress(operation, move ? QStringLiteral("Moving...") : QStringLiteral("Copying..."),
                    Owner);
    if (!operation.Errors.isEmpty())
        MessageDlg(Owner,
                   move ? QStringLiteral("Error Moving File")
                        : QStringLiteral("Error Copying File"),
                   operation.Errors.join(u'\n'), QMessageBox::Warning);
    return !operation.Cancelled() && operation.Errors.isEmpty();
}

bool TFileUtils32::ShellCopy(const QStringList &Files, const QString &Target)
{
    return transfer(Files, Target, false);
}

bool TFileUtils32::ShellMove(const QStringList &Files, const QString &Target)
{
    return transfer(Files, Target, true);
}

bool TFileUtils32::ShellDelete(const QStringList &Files, bool NoConfirm)
{
    if (Files.isEmpty())
        return true;
    if (!NoConfirm) {
        const QString what = Files.size() == 1
                                 ? QStringLiteral("\"%1\"").arg(QFileInfo(Files.first()).fileName())
                                 : QStringLiteral("these %1 items").arg(Files.size());
        if (MessageDlg(Owner, QStringLiteral("Confirm Delete"),
                       QStringLiteral("Are you sure you want to send %1 to the trash?").arg(what),
                       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
            return false;
    }
    QStringList failed;
    for (const QString &file : Files) {
        QString why;
        if (!MoveToTrash(file, why))
            failed.append(QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(file), why));
    }
    if (!failed.isEmpty())
        MessageDlg(
            Owner, QStringLiteral("Error Deleting File"),
            QStringLiteral("These could not be moved to the trash:\n%1").arg(failed.join(u'\n')),
            QMessageBox::Warning);
    return failed.isEmpty();
}

bool TFileUtils32::NewDirectory(const QString &Parent)
{
    TNewRenDlg dialog(Owner);
    dialog.Mode = nrNewDir;
    dialog.OldFileName = Parent;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    DialogOldName = dialog.OldFileName;
    DialogNewName = dialog.NewFileName;
    return true;
}

bool TFileUtils32::DeleteDirectory(const QString &Dir)
{
    const QString parent = QFileInfo(QDir::cleanPath(Dir)).absolutePath();
    const auto back = [this, &Dir] {
        if (DirList) {
            DirList->setDirectory(Dir);
            DirList->Update();
        }
    };
    if (!QFileInfo(Dir).isDir()) {
        back();
        MessageDlg(Owner, ApplicationTitle, QStringLiteral("Unable to delete directory"),
                   QMessageBox::Warning);
        return false;
    }
    if (DirList && DirList->Directory() == QDir::cleanPath(Dir))
        DirList->setDirectory(parent);
    Names = {Dir};
    const bool result = ShellDelete(Names, !ConfirmDelete);
    if (QFileInfo::exists(Dir) && DirList)
        DirList->setDirectory(Dir);
    if (DirList)
        DirList->Update();
    return result;
}
