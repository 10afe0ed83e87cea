// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: the navigation panel (drive, media type, directories, files) and choosing
// a file.
#include "app/Main.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include "display/codec/Codec.h"
#include "platform/Platform.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

void TKorvidForm::BuildFilter()
{
    MediaFilter = MakeFilter(MciExtensionKnown);
    FilterComboBox1->setFilter(MediaFilter);
}

bool TKorvidForm::IsGood(const QString &fileName)
{
    const bool exists = QFileInfo(fileName).isFile();
    MediaKind = exists ? MediaKindOf(fileName) : mkInvalid;
    if (MediaKind != mkInvalid)
        return true;
    if (!ShowRunning)
        MessageDlg(this, QStringLiteral("Unable to open file"),
                   QStringLiteral("Invalid file type or name!"), QMessageBox::Critical);
    // The highlight goes back to the file on show, not to the vanished one's neighbour.
    if (!exists && FileListBox1->removeName(QFileInfo(fileName).fileName()))
        SelectShownFile();
    return false;
}

void TKorvidForm::DriveComboBox1Change()
{
    const QString drive = DriveComboBox1->Drive();
    if (DriveReady(drive)) {
        DirectoryListBox1->setDirectory(drive);
        return;
    }
    MessageDlg(this, ApplicationTitle, QStringLiteral("The selected drive is not ready."),
               QMessageBox::Critical);
    DriveComboBox1->setDrive(TDriveComboBox::DriveOf(DirectoryListBox1->Directory()));
}

void TKorvidForm::DirectoryListBox1Change()
{
    // Wide enough that the deepest entry, indented by its level, can be scrolled into view.
    DirectoryListBox1->setHorizontalExtent(DirectoryListBox1->WidestEntry(font()));
    DriveComboBox1->setDrive(TDriveComboBox::DriveOf(DirectoryListBox1->Directory()));
}

void TKorvidForm::FileListBox1Change()
{
    FileListBox1->setHorizontalExtent(FileListBox1->WidestEntry());
}

void TKorvidForm::FileListBox1Click()
{
    if (Opening || !SingleClick)
        return;
    const QString file = FileListBox1->FileName();
    if (!file.isEmpty())
        OpenIt(file);
}

void TKorvidForm::FileListBox1DblClick()
{
    if (Opening || SingleClick)
        return;
    const QString file = FileListBox1->FileName();
    if (!file.isEmpty())
        OpenIt(file);
}

void TKorvidForm::FileListBox1KeyDown(QKeyEvent *event)
{
    if (Opening) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (SingleClick)
            FileListBox1Click();
        else
            FileListBox1DblClick();
        event->ignore();
        break;
    case Qt::Key_Delete:
        Delete1Click();
        event->ignore();
        break;
    default:
        break;
    }
}

void TKorvidForm::FileListBox1MouseDown(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton || Opening)
        return;
    const int row = FileListBox1->itemAtPos(event->position().toPoint());
    if (row >= 0) {
        FileListBox1->setItemIndex(row);
        FileListBox1Click();
    }
    ShowPopup(FileListBox1, event->globalPosition().toPoint());
}
