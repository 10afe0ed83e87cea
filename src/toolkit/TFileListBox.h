// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

// The file list: the files of one directory whose names match a mask list such as
// "*.BMP;*.GIF;" without regard to case, sorted by name.
class TFileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TFileListBox(QWidget *parent = nullptr);

    QString Directory() const { return m_directory; }
    void setDirectory(const QString &path);

    QString Mask() const { return m_mask; }
    // An empty mask lists every file.
    void setMask(const QString &mask);

    // Full path of the selected file, empty without a selection.
    QString FileName() const;
    // Applies a path: a directory becomes the list's directory; a file's folder does, and
    // the file is selected when the list holds it.
    void setFileName(const QString &path);

    int TopIndex() const;
    void setTopIndex(int index);

    // Re-reads the directory, keeping the selected index and the first visible line.
    void Update();

    // Names (not paths) the mask lets through, in list order.
    static QStringList MatchingFiles(const QString &directory, const QString &mask);

private:
    void fill();

    QString m_directory;
    QString m_mask;
};
