// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: the file manager window, the bookmark store, its menus and the organizer.
#include "app/Main.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QScreen>

#include "app/Splash.h"
#include "bookmarks/BMarkUtils.h"
#include "files/MMManager.h"
#include "bookmarks/Bmarkorg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

void TKorvidForm::MultiMediaManager1Click()
{
    if (!MMManager) {
        TSplashForm splash;
        splash.ShowNow();
        MMManager = new TMMManager(this, this);
    }
    if (HideControlPanel && !ControlPanel1->isHidden())
        ControlPanelHide();
    MMManager->show();
    if (MMManager->isMinimized())
        MMManager->setWindowState(Qt::WindowNoState);
    MMManager->raise();
    MMManager->activateWindow();
}

void TKorvidForm::HostManagerClosed()
{
    if (!HideControlPanel || !ControlPanel1->isHidden())
        return;
    ControlPanelShow();
    // Back onto the screen, whole.
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    QRect frame = geometry();
    frame.moveTopLeft(QPoint(std::max(frame.left(), 0), std::max(frame.top(), 0)));
    if (screen.isValid()) {
        frame.setWidth(std::min(frame.width(), screen.width()));
        frame.setHeight(std::min(frame.height(), screen.height()));
    }
    setGeometry(frame);
}

void TKorvidForm::HostStartShow(const QString &directory, const QString &file)
{
    ApplyFilePath(directory);
    if (!file.isEmpty())
        ApplyFilePath(file);
    SlideShowStart();
}

void TKorvidForm::HostStopShow()
{
    // The same command as the main window's, so a locked show still asks for the password.
    if (ShowRunning)
        VorodOdirStartStop1Click();
}

bool TKorvidForm::HostAddBookmark(const QString &path)
{
    if (!BMarks->AddBookmark(path, MMManager))
        return false;
    BMarkDlg->Append(BMarks->Marks.last());
    return true;
}

void TKorvidForm::HostBuildBookmarkMenu(QMenu *menu,
                                        const std::function<void(const QString &)> &onClick)
{
    BMarks->BuildMenu(menu, onClick);
}

QString TKorvidForm::HostBookmarkTarget(const QString &name)
{
    return BMarks->BookmarkTarget(name, MMManager);
}

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
    if (MMManager)
        MMManager->UpdateBMarks();
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
