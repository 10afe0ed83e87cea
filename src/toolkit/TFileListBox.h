// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>

#include <memory>

class ExtentDelegate;
class FileListModel;
class TFolderWatch;
struct FileListScan;

// The file list: the files of one directory whose names match a mask list such as
// "*.BMP;*.GIF;" without regard to case, sorted by name. Folders are read on a worker
// thread; a small folder is shown at once, a huge one a moment later without stopping
// the window meanwhile (isLoading tells, Loaded announces). A selection asked for while
// the list is still reading is made when the reading ends. While shown, the list follows
// the folder on disk (and F5 reads it again at once), keeping the selected files and the
// first visible line.
class TFileListBox : public QListView
{
    Q_OBJECT
public:
    explicit TFileListBox(QWidget *parent = nullptr);
    ~TFileListBox() override;

    QString Directory() const { return m_directory; }
    void setDirectory(const QString &path);

    QString Mask() const { return m_mask; }
    // An empty mask lists every file.
    void setMask(const QString &mask);

    // Several entries can be selected at once (with Ctrl and Shift).
    bool MultiSelect() const;
    void setMultiSelect(bool value);

    int count() const;
    QString itemText(int row) const;
    // Row of the current entry, -1 when none.
    int ItemIndex() const;
    void setItemIndex(int row);
    // Names of the selected entries, in list order.
    QStringList SelectedNames() const;
    // Row of the entry at pos in the viewport, -1 below the last one.
    int itemAtPos(const QPoint &pos) const;
    // Takes the entry with this name (exact case first) out of the list.
    bool removeName(const QString &name);

    // Full path of the selected file, empty without a selection.
    QString FileName() const;
    // Applies a path: a directory becomes the list's directory; a file's folder does, and
    // the file is selected when the list holds it (once a reading in progress ends; the
    // index asked for before stays when it does not).
    void setFileName(const QString &path);

    // First visible row.
    int TopIndex() const;
    void setTopIndex(int index);

    // Re-reads the directory, keeping the selected index and the first visible line.
    void Update();

    bool isLoading() const { return m_scan != nullptr; }
    // How many times the folder has been read.
    int Readings() const { return m_readings; }
    // Width of the widest entry plus "X" in the list's font, from the last reading.
    int WidestEntry() const { return m_widest; }
    // How wide the entries are for horizontal scrolling.
    void setHorizontalExtent(int pixels);

    // Each entry has the desktop's picture for its file type beside its name.
    bool ShowGlyphs() const;
    void setShowGlyphs(bool value);

    // The selected files can be dragged out of the list (see FileDrag).
    void setDragSource(bool value);

Q_SIGNALS:
    // The entries were read again.
    void Change();
    // The user moved the selection or clicked the selected entry.
    void Click();
    void DblClick();
    // Before the list acts on a key or a mouse press; a receiver that ignores the event
    // keeps it from the list.
    void KeyDown(QKeyEvent *event);
    void MouseDown(QMouseEvent *event);
    // A reading ended and its entries are shown.
    void Loaded();
    // A drag of the selected files ended, dropped or not.
    void EndDrag();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void fill();
    // Reads the folder again for a change on disk, keeping what the user sees.
    void followDisk();
    void watchFolder();
    void cancelScan();
    void finishScan(const std::shared_ptr<FileListScan> &scan);
    void selectRow(int row);
    // Selects the entry of this name (exact case first); false when the list has none.
    bool selectName(const QString &name);

    FileListModel *m_model;
    ExtentDelegate *m_delegate;
    QString m_directory;
    QString m_mask;
    int m_widest = 0;
    std::shared_ptr<FileListScan> m_scan;
    QList<std::shared_ptr<FileListScan>> m_workers; // every reading not yet ended
    // What to restore once the reading in progress ends.
    QString m_pendingName;
    int m_pendingIndex = -1;
    int m_pendingTop = -1;
    QStringList m_pendingSelected; // several names, kept over a change on disk
    QString m_pendingTopName;
    TFolderWatch *m_watch;
    bool m_stale = false; // hidden since the last reading
    int m_readings = 0;
};
