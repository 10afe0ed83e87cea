// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: the bookmark store, its menus and the organizer.
#include "app/Main.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include "bookmarks/BMarkUtils.h"
#include "bookmarks/Bmarkorg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

QString TKorvidForm::BookmarkFile() const
{
    return QDir(ProgramDir).filePath(QStringLiteral("bmarks.dat"));
}

void TKorvidForm::Add1Click()
{
    if (!BMarks->AddBookmark(FileListBox1->Directory(), this))
        return;
    UpdateBMarks();
    BMarkDlg->Append(BMarks->Marks.last());
}

void TKorvidForm::UpdateBMarks()
{
    const auto go = [this](const QString &name) { BMarkClick(name); };
    BMarks->BuildMenu(Bookmarks1, go);
    BMarks->BuildMenu(Bookmarks2, go);
}

void TKorvidForm::BMarkClick(const QString &name)
{
    const QString target = BMarks->BookmarkTarget(name, this);
    if (!target.isEmpty())
        ApplyFilePath(target);
}

void TKorvidForm::Organize1Click()
{
    if (BMarkDlg->isVisible()) {
        BMarkDlg->raise();
        BMarkDlg->activateWindow();
        return;
    }
    BMarkDlg->Bounds = QRect(BMarkLeft, BMarkTop, BMarkWidth, BMarkHeight);
    BMarkDlg->show();
}
