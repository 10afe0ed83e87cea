// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "files/FileUtils32.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
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
    // Row of the folder last pressed with the left button; -1 after a right press.
    int DirectoryTag = -1;
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
    // The Ctrl key is held: a drop between the panes copies instead of moving.
    bool CtrlDown = false;
    // The files of the last command, the lowest selected first.
    QStringList PackList;
    // The folder a directory list's shortcut menu acts on.
    QString PopupDir;

    QMenu *PopupMenu1 = nullptr;
    QMenu *Bookmarks1 = nullptr;
    QAction *Add1 = nullptr;
    QAction *Organize1 = nullptr;
    QAction *NewDirectory1 = nullptr;
    QAction *DeleteFile1 = nullptr;
    QAction *RenameFile1 = nullptr;
    QAction *Help1 = nullptr;
    QAction *Config = nullptr;
    QAction *VorodOdirStart1 = nullptr;
    // The list the shortcut menu was opened on.
    QPointer<QWidget> PopupComponent;

    void ReadINI();
    void WriteINI();
    // The background of the four lists.
    void SetListColor(const QColor &color);
    void UpdateAndHold(QWidget *list);
    void UpdateAll();
    // After a folder was deleted: trees inside it move up to what still exists.
    void CorrectDirBoxes(const QString &name);
    // After a folder was renamed or created through the dialog whose old and new names
    // these are: trees under the parent go to the new folder.
    void UpdateDirBoxes(const QString &oldName, const QString &newName);

    // Collects the selected files of list, from the last row up, as full paths.
    void PackFiles(TFileListBox *list);

    // Drag and drop (MMManagerCommands.cpp). The DragOver handlers tell whether target
    // takes the drag.
    bool FileListBox1DragOver(TFileListBox *target, const QMimeData *data) const;
    void FileListBox1DragDrop(TFileListBox *target, QWidget *source);
    void FileListBox1EndDrag();
    bool trashcan1DragOver(const QMimeData *data) const;
    void trashcan1DragDrop(QWidget *source);

    // The shortcut menu and its commands.
    void FileListBox1MouseDown(TFileListBox *list, QMouseEvent *event);
    void DirectoryListBox1MouseDown(TDirectoryListBox *tree, QMouseEvent *event);
    void PopupMenu1Popup();
    void NewDirectory1Click();
    void DeleteFile1Click();
    void RenameFile1Click();
    void VorodOdirStart1Click();
    void ConfigClick();
    void Add1Click();
    void Organize1Click();
    void BMarkClick(const QString &name);
    // Rebuilds the bookmark items of the shortcut menu.
    void UpdateBMarks();

    // The help topic of a control of this window (F1).
    int HelpTopicOf(const QWidget *widget) const;
    void FormKeyDown(QKeyEvent *event);
    void FormKeyUp(QKeyEvent *event);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TManagerPane createPane(int digit);
    void FormCreate();
    void FormShow();
    void FormClose();
    QList<TDirectoryListBox *> allTrees() const;
    void DriveChange(TManagerPane &pane);
    void DirectoryChange(TManagerPane &pane);
    void createPopupMenu();
    void connectDragAndDrop();
    TManagerPane *paneOf(const QObject *control);
    // The program's own list a drag came from; null for anything else.
    QWidget *dragSource(const QMimeData *data) const;
    void copyConfirmations();
    // Re-reads the lists other than list that show its directory: the other pane's and
    // the main window's.
    void refreshSameDirectory(TFileListBox *list);
    void showPopup(QWidget *component, const QPoint &globalPos);

    TMMManagerHost *m_host;
    int m_ddir1 = 124;
    int m_ddir2 = 124;
    int m_leftWidth = 220;
    bool m_shownOnce = false;
};
