// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include <memory>

class TFolderWatch;
struct SubfolderReading;

// The directory list: the root and every ancestor of the current directory as open
// folders, the current directory selected, and its subfolders below it, indented one
// level deeper. Activating an entry makes it the current directory. While shown, the list
// follows the disk: subfolders added, removed or renamed by another program show (F5
// reads them again at once), and a current directory that is gone gives way to its
// nearest existing parent. The subfolders of a huge folder are read on a worker thread
// and shown a moment after the ancestors; those of an ordinary folder at once.
class TDirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget *parent = nullptr);

    QString Directory() const { return m_directory; }
    // Moves to path when it is an existing directory; emits DirectoryChanged on a change.
    void setDirectory(const QString &path);
    // Re-reads the subfolders from disk, keeping the selected entry and the first visible
    // line.
    void Update();

    // Full path of the entry at row.
    QString pathAt(int row) const;
    // Width of the folder pictures beside the entries.
    int folderPictureWidth() const;
    // Width the widest entry needs in font: its text and "X", its folder picture, and the
    // indentation of the current directory's depth.
    int WidestEntry(const QFont &font) const;
    // How wide the entries are for horizontal scrolling, at least.
    void setHorizontalExtent(int pixels);
    int horizontalExtent() const { return m_extent; }

    // The list can be dragged (onto a trash can); the drag names no files.
    void setDragSource(bool value);

Q_SIGNALS:
    void DirectoryChanged(const QString &path);
    // The current directory vanished from disk (the list has moved to its parent).
    void DirectoryGone(const QString &path);
    // Before the list acts on a mouse press; a receiver that ignores the event keeps it
    // from the list.
    void MouseDown(QMouseEvent *event);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void fill();
    // Shows the subfolders when they come within a moment of the reading's start.
    void awaitSubfolders();
    void addSubfolders(const std::shared_ptr<SubfolderReading> &reading);
    void followDisk();
    void watchFolders();
    // Scrolls the current directory's entry into view, horizontally too.
    void showCurrentEntry();

    QString m_directory;
    int m_extent = 0;
    TFolderWatch *m_watch;
    TFolderWatch *m_parentWatch;
    bool m_stale = false;                        // hidden since the last reading
    std::shared_ptr<SubfolderReading> m_reading; // subfolders still being read
    // What Update keeps, put back once the subfolders are there.
    QString m_keepHighlighted;
    int m_keepTop = -1;
};
