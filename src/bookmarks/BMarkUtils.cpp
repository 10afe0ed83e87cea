// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/BMarkUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QStringDecoder>

#include "bookmarks/Bmedit.h"
#include "platform/Platform.h"
#include "toolkit/DirectoryScan.h"
#include "toolkit/MessageDlg.h"

namespace {

constexpr int FixedItems = 2;

QString decodeLine(const QByteArray &line)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(line);
    return utf8.hasError() ? DecodeLegacyText(line) : text;
}

TBookmark bookmarkFromLine(const QByteArray &bytes)
{
    const QString line = decodeLine(bytes);
    const qsizetype semicolon = line.indexOf(u';');
    if (semicolon < 0)
        return {line, std::make_shared<TLocation>(line), bytes};
    return {line.left(semicolon), std::make_shared<TLocation>(line.mid(semicolon + 1)), bytes};
}

QString pathOf(const TBookmark &mark)
{
    return mark.Location ? mark.Location->Path : QString();
}

// The bookmark's line as it came from the file, when name and path are still what it says.
// A line without ";" stood for name and path alike and is written as both.
QByteArray unchangedLine(const TBookmark &mark)
{
    if (mark.Line.isNull())
        return {};
    const TBookmark read = bookmarkFromLine(mark.Line);
    if (read.Name != mark.Name || pathOf(read) != pathOf(mark))
        return {};
    return mark.Line.contains(';') ? mark.Line : mark.Line + ';' + mark.Line;
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
        marks.append(bookmarkFromLine(text.mid(start, end - start)));
        start = end + 1;
        if (end < text.size() && start < text.size() && text.at(start) == '\n')
            ++start;
    }
    return marks;
}

QByteArray FormatBookmarks(const TBookmarkList &marks)
{
    QByteArray text;
    for (const TBookmark &mark : marks) {
        const QByteArray line = unchangedLine(mark);
        text += line.isNull() ? (mark.Name + u';' + pathOf(mark)).toUtf8() : line;
        text += "\r\n";
    }
    return text;
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
    Marks.append({dialog.Name(), std::make_shared<TLocation>(dialog.Path()), {}});
    return true;
}

bool TBMarkUtils::LoadFromFile(const QString &fileName)
{
    m_error.clear();
    QFile file(fileName);
    if (!file.exists())
        return true;
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (file.error() != QFileDevice::NoError || !file.isOpen()) {
        m_readable = false;
        m_error = file.errorString();
        // What came before an error is kept, as far as it goes.
        text.truncate(text.lastIndexOf('\r') + 1);
    }
    Marks += ParseBookmarks(text);
    return m_readable;
}

bool TBMarkUtils::SaveToFile(const QString &fileName)
{
    m_error.clear();
    if (!m_readable) {
        m_error = QStringLiteral("The existing file could not be read, so it was left as it is.");
        return false;
    }
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
    return CheckedBookmarkPath(pathOf(Marks.at(index)), parent);
}
