// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "files/FileUtils32.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TFilterComboBox;
class TMMManagerHost;

// One side of the file manager: drive, media type, mask, folders and files.
struct TManagerPane
{
    QWidget *Panel = nullptr;
    QWidget *DriveDirPanel = nullptr;
    QWidget *TopPanel = nullptr;
    TDriveComboBox *DriveComboBox = nullptr;
    TFilterComboBox *FilterComboBox = nullptr;
    QLineEdit *FilterEdit = nullptr;
    TDirectoryListBox *DirectoryListBox = nullptr;
    QSplitter *Splitter = nullptr; // its handle is VSlidePanel1 or 2
    TFileListBox *FileListBox = nullptr;
};

// The RizirIrivu Dadozuz: a window with two panes, each a navigator of its own, between
// which media files are copied and moved. It keeps its own settings in KORVID.INI and
// keeps every folder and file list of the program up to date after a file action.
class TMMManager : public QWidget
{
    Q_OBJECT
public:
    explicit TMMManager(TMMManagerHost *host, QWidget *parent = nullptr);
    ~TMMManager() override;

    TManagerPane Pane1;
    TManagerPane Pane2;
    QSplitter *PaneSplitter = nullptr; // its handle is HSlidePanel1
    QWidget *ToolPanel = nullptr;
    QPushButton *CloseBtn = nullptr;
    QPushButton *HelpBtn = nullptr;
    QLabel *trashcan1 = nullptr;
    TFileUtils32 FileUtils;

    void ReadINI();
    void WriteINI();
    void UpdateAndHold(QWidget *list);
    void UpdateAll();
    // After a folder was deleted: trees inside it move up to what still exists.
    void CorrectDirBoxes(const QString &name);
    // After a folder was renamed or created through the dialog whose old and new names
    // these are: trees under the parent go to the new folder.
    void UpdateDirBoxes(const QString &oldName, const QString &newName);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    TManagerPane createPane(int digit);
    void FormCreate();
    void FormShow();
    void FormClose();
    QList<TDirectoryListBox *> allTrees() const;
    void DriveChange(TManagerPane &pane);
    void DirectoryChange(TManagerPane &pane);

    TMMManagerHost *m_host;
    int m_ddir1 = 124;
    int m_ddir2 = 124;
    int m_leftWidth = 220;
    bool m_shownOnce = false;
};
