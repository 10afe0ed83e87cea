// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/TFileListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>

TFileListBox::TFileListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void TFileListBox::setDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == m_directory)
        return;
    m_directory = clean;
    fill();
}

void TFileListBox::setMask(const QString &mask)
{
    if (mask == m_mask)
        return;
    m_mask = mask;
    fill();
}

QString TFileListBox::FileName() const
{
    const QListWidgetItem *entry = currentItem();
    if (!entry || !entry->isSelected() || m_directory.isEmpty())
        return {};
    return QDir(m_directory).filePath(entry->text());
}

void TFileListBox::setFileName(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        setDirectory(path);
        return;
    }
    setDirectory(info.absolutePath());
    const QString name = info.fileName();
    QList<QListWidgetItem *> found = findItems(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        found = findItems(name, Qt::MatchFixedString);
    if (!found.isEmpty()) {
        setCurrentItem(found.first());
        scrollToItem(found.first());
    }
}

int TFileListBox::TopIndex() const
{
    return verticalScrollBar()->value();
}

void TFileListBox::setTopIndex(int index)
{
    verticalScrollBar()->setValue(index);
}

void TFileListBox::Update()
{
    const int index = currentRow();
    const int top = TopIndex();
    fill();
    if (index >= 0 && index < count())
        setCurrentRow(index);
    setTopIndex(top);
}

QStringList TFileListBox::MatchingFiles(const QString &directory, const QString &mask)
{
    QStringList patterns;
    for (const QString &part : mask.split(u';', Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            patterns.append(part.trimmed());
    }
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    QDir dir(directory);
    dir.setNameFilters(patterns);
    // Without QDir::CaseSensitive the patterns match "a.JPG" and "a.jpg" alike.
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    return dir.entryList();
}

void TFileListBox::fill()
{
    const QSignalBlocker blocker(this);
    clear();
    if (!m_directory.isEmpty())
        addItems(MatchingFiles(m_directory, m_mask));
}
