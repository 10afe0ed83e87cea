// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

#include "bookmarks/BMarkUtils.h"

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

// "Organize Bookmarks": a modeless window over a working copy of the store, in which the
// user goes to, sorts, edits and removes bookmarks. The store changes only on OK; Cancel
// or closing drops the changes. Each showing starts from a fresh copy.
class TBMarkDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TBMarkDlg(TBMarkUtils *store, QWidget *parent = nullptr);

    TBookmarkList WorkingCopy;
    // Where the window opens; after it closes, where it was.
    QRect Bounds;
    // Told after OK replaced the store; asked to show a folder (Go); told the bounds
    // when the window closes.
    std::function<void()> OnAccepted;
    std::function<void(const QString &directory)> OnGo;
    std::function<void(const QRect &bounds)> OnClosed;

    // A bookmark added to the store while the window is open joins the working copy too,
    // so OK keeps it.
    void Append(const TBookmark &mark);

    QListWidget *ListBox1;
    QPushButton *GoBtn;
    QPushButton *SortBtn;
    QPushButton *EditBtn;
    QPushButton *RemoveBtn;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QPushButton *HelpBtn;
    QMenu *PopupMenu1;
    QAction *Go1;
    QAction *Sort1;
    QAction *edit1;
    QAction *Remove1;

    void FormShow();
    void FormClose();
    void ListBox1Click();
    void PopupMenu1Popup();
    void GoBtnClick();
    void SortBtnClick();
    void EditBtnClick();
    void RemoveBtnClick();
    void OKBtnClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void fillList();
    void updateCommands();

    TBMarkUtils *m_store;
    bool m_open = false;
};
