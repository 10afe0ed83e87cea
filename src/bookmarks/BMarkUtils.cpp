// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/BMarkUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>

#include "bookmarks/Bmedit.h"
#include "toolkit/MessageDlg.h"

namespace {

constexpr int FixedItems = 2;

TBookmark bookmarkFromLine(const QString &line)
{
    const qsizetype semicolon = line.indexOf(u';');
    if (semicolon < 0)
        return {line, std::make_shared<TLocation>(line)};
    return {line.left(semicolon), std::make_shared<TLocation>(line.mid(semicolon + 1))};
}

bool writeAtomically(const QString &fileName, const QByteArray &bytes, QString &error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

TBookmarkList ParseBookmarks(const QByteArray &text)
{
    TBookmarkList marks;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\r', start);
        if (end < 0)
            end = text.size();
        marks.append(bookmarkFromLine(QString::fromUtf8(text.mid(start, end - start))));
        start = end + 1;
        if (end < text.size() && start < text.size() && text.at(start) == '\n')
            ++start;
    }
    return marks;
}

QByteArray FormatBookmarks(const TBookmarkList &marks)
{
    QByteArray text;
    for (const TBookmark &mark : marks)
        text += (mark.Name + u';' + (mark.Location ? mark.Location->Path : QString())).toUtf8()
                + "\r\n";
    return text;
}

QString NearestExistingDirectory(const QString &path)
{
    QString p = path;
    while (!p.isEmpty() && !QFileInfo(p).isDir() && !QDir(p).isRoot()) {
        const qsizetype cut = p.lastIndexOf(u'/');
        if (cut < 0)
            return {};
        // Up to and including the separator, which a root keeps and others drop.
        p = p.left(cut + 1);
        if (p.size() > 1 && p.endsWith(u'/'))
            p.chop(1);
    }
    return QFileInfo(p).isDir() ? p : QString();
}

QString CheckedBookmarkPath(const QString &path, QWidget *parent)
{
    if (QFileInfo(path).isDir())
        return path;
    MessageDlg(parent, ApplicationTitle, QStringLiteral("The requested path is no longer valid!"),
               QMessageBox::Warning);
    return NearestExistingDirectory(path);
}

bool TBMarkUtils::AddBookmark(const QString &path, QWidget *parent)
{
    TBMEditDlg dialog(parent);
    dialog.setFields(path, path);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Marks.append({dialog.Name(), std::make_shared<TLocation>(dialog.Path())});
    return true;
}

void TBMarkUtils::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    Marks += ParseBookmarks(file.readAll());
}

bool TBMarkUtils::SaveToFile(const QString &fileName)
{
    m_error.clear();
    QFile current(fileName);
    if (current.exists() && current.open(QIODevice::ReadOnly)) {
        const QFileInfo info(fileName);
        const QString backup =
            info.dir().filePath(info.completeBaseName() + QStringLiteral(".bak"));
        QString ignored;
        // A backup that cannot be written does not stop the save.
        writeAtomically(backup, current.readAll(), ignored);
        current.close();
    }
    return writeAtomically(fileName, FormatBookmarks(Marks), m_error);
}

int TBMarkUtils::IndexOfName(const QString &name) const
{
    for (qsizetype i = 0; i < Marks.size(); ++i) {
        if (QString::localeAwareCompare(Marks.at(i).Name.toLower(), name.toLower()) == 0)
            return int(i);
    }
    return -1;
}

void TBMarkUtils::ClearMenu(QMenu *parent)
{
    while (parent->actions().size() > FixedItems) {
        QAction *last = parent->actions().last();
        parent->removeAction(last);
        delete last;
    }
}

void TBMarkUtils::BuildMenu(QMenu *parent,
                            const std::function<void(const QString &)> &onClick) const
{
    ClearMenu(parent);
    if (Marks.isEmpty())
        return;
    parent->addSeparator();
    for (const TBookmark &mark : Marks) {
        // "&" would be taken as a mnemonic; the item shows the name as it is.
        QAction *item = parent->addAction(QString(mark.Name).replace(u'&', QStringLiteral("&&")));
        const QString name = mark.Name;
        QObject::connect(item, &QAction::triggered, parent, [onClick, name] { onClick(name); });
    }
}

QString TBMarkUtils::BookmarkTarget(const QString &name, QWidget *parent) const
{
    const int index = IndexOfName(name);
    if (index < 0)
        return {};
    const auto &location = Marks.at(index).Location;
    return CheckedBookmarkPath(location ? location->Path : QString(), parent);
}
