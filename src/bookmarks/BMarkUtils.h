// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QWidget;

// One bookmark's target: the directory path as entered or read, never normalised.
struct TLocation
{
    explicit TLocation(QString path)
        : Path(std::move(path))
    {}
    const QString Path;
};

// A named location. Lists of bookmarks share their locations, so an edited copy and the
// store can hold the same one and the last holder frees it.
struct TBookmark
{
    QString Name;
    std::shared_ptr<const TLocation> Location;
    // The file's line this bookmark came from, written back as it was while name and path
    // are unchanged: an older program's encoding and file names that are not UTF-8 survive.
    QByteArray Line;
};
using TBookmarkList = QList<TBookmark>;

// The bookmark file's lines: each ends at a CR (an LF right after it belongs to the line
// end; a lone LF is text) and is split at its first ";" into name and path; a line without
// ";" is name and path alike; nothing is trimmed and lines of any length load whole. A line
// that is not UTF-8 is read in the system's legacy encoding. New and changed bookmarks are
// written in UTF-8, the others as the line they came from.
TBookmarkList ParseBookmarks(const QByteArray &text);
QByteArray FormatBookmarks(const TBookmarkList &marks);

// The program's bookmarks, in order: loaded at start, saved at the end, shown as menu
// items, and followed to their folders.
class TBMarkUtils
{
public:
    TBookmarkList Marks;

    // Asks with the "Bookmark Edit" dialog (both fields set to path) and appends the
    // bookmark on OK; true when one was added.
    bool AddBookmark(const QString &path, QWidget *parent = nullptr);
    // Appends the file's bookmarks. A missing file is an empty store; false (with
    // errorString) when the file is there but cannot be read, which SaveToFile then never
    // replaces.
    bool LoadFromFile(const QString &fileName);
    bool isReadable() const { return m_readable; }
    // Keeps the previous file as the ".bak" backup, then replaces the file in one step,
    // so a crash leaves the old file or the new one. False (with errorString) on failure.
    bool SaveToFile(const QString &fileName);
    QString errorString() const { return m_error; }

    void CopyTo(TBookmarkList &destination) const { destination = Marks; }
    void AssignFrom(const TBookmarkList &source) { Marks = source; }

    // The first bookmark of this name, without regard to case; -1 when there is none.
    int IndexOfName(const QString &name) const;

    // Menus that start with two fixed commands ("Add", "Organize"): the items after them
    // are the store's. BuildMenu adds a separator and one item per bookmark (none of
    // either for an empty store); a click calls onClick with the item's bookmark name.
    static void ClearMenu(QMenu *parent);
    void BuildMenu(QMenu *parent, const std::function<void(const QString &)> &onClick) const;

    // The directory to go to for the bookmark named name: the warning "The requested path
    // is no longer valid!" when it is gone, then its nearest existing parent. Empty when
    // there is no such bookmark or nothing of its path exists.
    QString BookmarkTarget(const QString &name, QWidget *parent) const;

private:
    QString m_error;
    bool m_readable = true;
};

// The check and walk up of a jump, for a path (also the organizer's Go).
QString CheckedBookmarkPath(const QString &path, QWidget *parent);
