// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TMMManager: drag and drop between the panes, the trash can and the shortcut menu.
#include "files/MMManager.h"

#include <QApplication>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include "files/MMManagerHost.h"
#include "files/Newren.h"
#include "toolkit/FileDrag.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/Named.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

constexpr int HelpContext = 200;

QString lastComponent(const QString &path)
{
    return QFileInfo(QDir::cleanPath(path)).fileName();
}

// Bookmarks from the manager are stored in lower case. On a file system that tells case
// apart that would name another folder, so there the path keeps its case.
QString bookmarkPath(const QString &path)
{
    QString lower = path;
    for (QChar &c : lower) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (lower == path || canonical.isEmpty() || QFileInfo(lower).canonicalFilePath() == canonical)
        return lower;
    return path;
}

} // namespace

void TMMManager::createPopupMenu()
{
    const auto item = [](QMenu *menu, const char *name, const QString &caption) {
        return Named(menu->addAction(caption), name);
    };
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Bookmarks1 = PopupMenu1->addMenu(QStringLiteral("&Bookmarks"));
    Bookmarks1->setObjectName(QStringLiteral("Bookmarks1"));
    Add1 = item(Bookmarks1, "Add1", QStringLiteral("&Add"));
    Organize1 = item(Bookmarks1, "Organize1", QStringLiteral("&Organize"));
    PopupMenu1->addSeparator();
    NewDirectory1 = item(PopupMenu1, "NewDirectory1", QStringLiteral("&New Directory"));
    DeleteFile1 = item(PopupMenu1, "DeleteFile1", QStringLiteral("&Delete File(s)"));
    RenameFile1 = item(PopupMenu1, "RenameFile1", QStringLiteral("&Rename File"));
    PopupMenu1->addSeparator();
    Help1 = item(PopupMenu1, "Help1", QStringLiteral("&Help"));
    Config = item(PopupMenu1, "Config", QStringLiteral("&Configure Korvid"));
    PopupMenu1->addSeparator();
    VorodOdirStart1 = item(PopupMenu1, "VorodOdirStart1", QStringLiteral("&VorodOdir Start"));

    connect(Add1, &QAction::triggered, this, &TMMManager::Add1Click);
    connect(Organize1, &QAction::triggered, this, &TMMManager::Organize1Click);
    connect(NewDirectory1, &QAction::triggered, this, &TMMManager::NewDirectory1Click);
    connect(DeleteFile1, &QAction::triggered, this, &TMMManager::DeleteFile1Click);
    connect(RenameFile1, &QAction::triggered, this, &TMMManager::RenameFile1Click);
    connect(Help1, &QAction::triggered, this, [] { OpenHelpTopic(HelpContext); });
    connect(Config, &QAction::triggered, this, &TMMManager::ConfigClick);
    connect(VorodOdirStart1, &QAction::triggered, this, &TMMManager::VorodOdirStart1Click);
    UpdateBMarks();
}

void TMMManager::connectDragAndDrop()
{
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        TFileListBox *list = pane->FileListBox;
        TDirectoryListBox *tree = pane->DirectoryListBox;
        list->setDragSource(true);
        list->viewport()->setAcceptDrops(true);
        tree->setDragSource(true);
        connect(list, &TFileListBox::EndDrag, this, &TMMManager::FileListBox1EndDrag);
        connect(list, &TFileListBox::MouseDown, this,
                [this, list](QMouseEvent *event) { FileListBox1MouseDown(list, event); });
        connect(tree, &TDirectoryListBox::MouseDown, this,
                [this, tree](QMouseEvent *event) { DirectoryListBox1MouseDown(tree, event); });
    }
    trashcan1->setAcceptDrops(true);
    // One filter on the application sees the window's keys, wherever the focus is, and the
    // drags over its lists and trash can.
    qApp->installEventFilter(this);
}

bool TMMManager::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == this) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (event->type() == QEvent::KeyRelease) {
                FormKeyUp(key);
            } else if (key->key() == Qt::Key_F1) {
                OpenHelpTopic(HelpTopicOf(static_cast<QWidget *>(watched)));
                return true;
            } else {
                FormKeyDown(key);
            }
        }
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    auto *target = qobject_cast<TFileListBox *>(watched->parent());
    if (watched != trashcan1 && (!target || !paneOf(target)))
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    const bool accepted = target ? FileListBox1DragOver(target, drag->mimeData())
                                 : trashcan1DragOver(drag->mimeData());
    if (!accepted) {
        drag->ignore();
        return true;
    }
    // The keyboard at the drop decides: while dragging, keys go to the drag, not here.
    const bool copy = drag->modifiers().testFlag(Qt::ControlModifier);
    drag->setDropAction(target && copy ? Qt::CopyAction : Qt::MoveAction);
    drag->accept();
    if (event->type() != QEvent::Drop)
        return true;
    // The file action may ask questions and show progress: run it after the drag ended.
    const QPointer<QWidget> source = dragSource(drag->mimeData());
    const QPointer<TFileListBox> targetList = target;
    QTimer::singleShot(0, this, [this, source, targetList, copy] {
        if (!source)
            return;
        if (targetList) {
            CtrlDown = copy;
            FileListBox1DragDrop(targetList, source);
        } else {
            trashcan1DragDrop(source);
        }
    });
    return true;
}

int TMMManager::HelpTopicOf(const QWidget *widget) const
{
    for (const QWidget *w = widget; w && w != this; w = w->parentWidget()) {
        for (const TManagerPane *pane : {&Pane1, &Pane2}) {
            if (w == pane->DriveComboBox)
                return 104;
            if (w == pane->FilterComboBox)
                return 105;
            if (w == pane->DirectoryListBox)
                return 106;
            if (w == pane->FileListBox)
                return 107;
        }
    }
    return HelpContext;
}

TManagerPane *TMMManager::paneOf(const QObject *control)
{
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        if (control == pane->FileListBox || control == pane->DirectoryListBox)
            return pane;
    }
    return nullptr;
}

QWidget *TMMManager::dragSource(const QMimeData *data) const
{
    for (const TManagerPane *pane : {&Pane1, &Pane2}) {
        if (FileDrag::isFrom(data, pane->FileListBox))
            return pane->FileListBox;
        if (FileDrag::isFrom(data, pane->DirectoryListBox))
            return pane->DirectoryListBox;
    }
    return nullptr;
}

void TMMManager::copyConfirmations()
{
    const TFileConfirmations confirm = m_host->HostConfirmations();
    FileUtils.ConfirmDelete = confirm.Delete;
    FileUtils.ConfirmCopy = confirm.Copy;
    FileUtils.ConfirmReplace = confirm.Replace;
}

void TMMManager::PackFiles(TFileListBox *list)
{
    PackList.clear();
    const QString directory = list->Directory();
    const QString prefix = directory.endsWith(u'/') ? directory : directory + u'/';
    const QItemSelectionModel *selection = list->selectionModel();
    for (int row = list->count() - 1; row >= 0; --row) {
        if (selection->isSelected(list->model()->index(row, 0)))
            PackList.append(prefix + list->itemText(row));
    }
}

void TMMManager::FormKeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        CtrlDown = true;
}

void TMMManager::FormKeyUp(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        CtrlDown = false;
}

bool TMMManager::FileListBox1DragOver(TFileListBox *target, const QMimeData *data) const
{
    const QWidget *source = dragSource(data);
    return source && source != target && qobject_cast<const TFileListBox *>(source);
}

void TMMManager::FileListBox1DragDrop(TFileListBox *target, QWidget *source)
{
    auto *sourceList = qobject_cast<TFileListBox *>(source);
    if (!sourceList || sourceList == target || !paneOf(target))
        return;
    const QString directory = target->Directory();
    PackFiles(sourceList);
    copyConfirmations();
    FileUtils.FileAction(PackList, directory, CtrlDown ? fuCopy : fuMove, target, sourceList);
}

void TMMManager::FileListBox1EndDrag()
{
    CtrlDown = false;
}

bool TMMManager::trashcan1DragOver(const QMimeData *data) const
{
    return dragSource(data) != nullptr;
}

void TMMManager::trashcan1DragDrop(QWidget *source)
{
    copyConfirmations();
    if (auto *list = qobject_cast<TFileListBox *>(source)) {
        PackFiles(list);
        FileUtils.FileAction(PackList, QString(), fuDelete, list, nullptr);
        return;
    }
    auto *tree = qobject_cast<TDirectoryListBox *>(source);
    TManagerPane *pane = paneOf(tree);
    if (!pane || pane->DirectoryTag < 0)
        return;
    PackList.clear();
    const QString directory = tree->pathAt(pane->DirectoryTag);
    if (directory.isEmpty())
        return;
    FileUtils.FileAction(PackList, directory, fuDeleteDir, nullptr, tree);
    CorrectDirBoxes(lastComponent(directory));
}

void TMMManager::showPopup(QWidget *component, const QPoint &globalPos)
{
    PopupComponent = component;
    PopupMenu1Popup();
    PopupMenu1->popup(globalPos);
}

void TMMManager::FileListBox1MouseDown(TFileListBox *list, QMouseEvent *event)
{
    if (event->button() != Qt::RightButton)
        return;
    const int row = list->itemAtPos(event->position().toPoint());
    const bool extending = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (row >= 0 && !extending && !list->selectionModel()->isSelected(list->model()->index(row, 0)))
        list->setItemIndex(row);
    showPopup(list, event->globalPosition().toPoint());
}

void TMMManager::DirectoryListBox1MouseDown(TDirectoryListBox *tree, QMouseEvent *event)
{
    TManagerPane *pane = paneOf(tree);
    const int row = tree->indexAt(event->position().toPoint()).row();
    if (event->button() == Qt::LeftButton) {
        pane->DirectoryTag = row;
        return;
    }
    if (event->button() != Qt::RightButton)
        return;
    // The list itself does nothing with the right button: the rows change below.
    event->ignore();
    pane->DirectoryTag = -1;
    if (row >= 0) {
        PopupDir = tree->pathAt(row);
        tree->setDirectory(PopupDir);
    } else {
        PopupDir = tree->Directory();
    }
    DeleteFile1->setEnabled(row >= 0);
    RenameFile1->setEnabled(row >= 0);
    showPopup(tree, event->globalPosition().toPoint());
}

void TMMManager::PopupMenu1Popup()
{
    if (auto *list = qobject_cast<TFileListBox *>(PopupComponent.data())) {
        const qsizetype selected = list->selectionModel()->selectedIndexes().size();
        NewDirectory1->setVisible(false);
        DeleteFile1->setText(QStringLiteral("&Delete File(s)"));
        DeleteFile1->setEnabled(selected >= 1);
        RenameFile1->setText(QStringLiteral("&Rename File"));
        RenameFile1->setEnabled(selected == 1);
    } else if (qobject_cast<TDirectoryListBox *>(PopupComponent.data())) {
        NewDirectory1->setVisible(true);
        DeleteFile1->setText(QStringLiteral("&Delete Directory"));
        RenameFile1->setText(QStringLiteral("&Rename Directory"));
    }
    VorodOdirStart1->setText(m_host->HostShowRunning() ? QStringLiteral("VorodOdir Stop")
                                                       : QStringLiteral("VorodOdir Start"));
}

void TMMManager::refreshSameDirectory(TFileListBox *list)
{
    TFileListBox *other = list == Pane1.FileListBox ? Pane2.FileListBox : Pane1.FileListBox;
    if (other->Directory() == list->Directory())
        UpdateAndHold(other);
    if (m_host->HostFileList()->Directory() == list->Directory())
        UpdateAndHold(m_host->HostFileList());
}

void TMMManager::DeleteFile1Click()
{
    copyConfirmations();
    if (auto *list = qobject_cast<TFileListBox *>(PopupComponent.data())) {
        PackFiles(list);
        FileUtils.FileAction(PackList, QString(), fuDelete, list, nullptr);
        refreshSameDirectory(list);
    } else if (auto *tree = qobject_cast<TDirectoryListBox *>(PopupComponent.data())) {
        PackList.clear();
        if (FileUtils.FileAction(PackList, PopupDir, fuDeleteDir, nullptr, tree))
            CorrectDirBoxes(lastComponent(PopupDir));
    }
}

void TMMManager::RenameFile1Click()
{
    TNewRenDlg dialog(this);
    if (auto *list = qobject_cast<TFileListBox *>(PopupComponent.data())) {
        PackFiles(list);
        if (PackList.isEmpty())
            return;
        dialog.Mode = nrRenameFile;
        dialog.OldFileName = PackList.first();
        // Renamed or not, every list on the folder is read again: what shows is what is on
        // the disk, whatever else changed there meanwhile.
        dialog.exec();
        list->Update();
        refreshSameDirectory(list);
    } else if (qobject_cast<TDirectoryListBox *>(PopupComponent.data())) {
        dialog.Mode = nrRenameDir;
        dialog.OldFileName = PopupDir;
        if (dialog.exec() == QDialog::Accepted)
            UpdateDirBoxes(dialog.OldFileName, dialog.NewFileName);
    }
}

void TMMManager::NewDirectory1Click()
{
    copyConfirmations();
    auto *tree = qobject_cast<TDirectoryListBox *>(PopupComponent.data());
    if (!tree)
        return;
    PackList.clear();
    if (FileUtils.FileAction(PackList, tree->Directory(), fuNewDir, nullptr, nullptr))
        UpdateDirBoxes(FileUtils.DialogOldName, FileUtils.DialogNewName);
}

void TMMManager::VorodOdirStart1Click()
{
    if (m_host->HostShowRunning()) {
        m_host->HostStopShow();
        return;
    }
    QString path;
    if (auto *list = qobject_cast<TFileListBox *>(PopupComponent.data())) {
        path = list->Directory();
        PackFiles(list);
    } else if (auto *tree = qobject_cast<TDirectoryListBox *>(PopupComponent.data())) {
        path = tree->Directory();
        PackFiles(paneOf(tree)->FileListBox);
    } else {
        return;
    }
    m_host->HostStartShow(path, PackList.value(0));
}

void TMMManager::ConfigClick()
{
    m_host->HostConfigure(this);
}

void TMMManager::Add1Click()
{
    QString path;
    if (auto *list = qobject_cast<TFileListBox *>(PopupComponent.data()))
        path = list->Directory();
    else if (auto *tree = qobject_cast<TDirectoryListBox *>(PopupComponent.data()))
        path = tree->Directory();
    if (!path.isEmpty())
        m_host->HostAddBookmark(bookmarkPath(path));
    UpdateBMarks();
}

void TMMManager::Organize1Click()
{
    m_host->HostOrganizeBookmarks();
}

void TMMManager::BMarkClick(const QString &name)
{
    const QString target = m_host->HostBookmarkTarget(name);
    if (target.isEmpty())
        return;
    if (auto *list = qobject_cast<TFileListBox *>(PopupComponent.data()))
        paneOf(list)->DirectoryListBox->setDirectory(target);
    else if (auto *tree = qobject_cast<TDirectoryListBox *>(PopupComponent.data()))
        tree->setDirectory(target);
}

void TMMManager::UpdateBMarks()
{
    m_host->HostBuildBookmarkMenu(Bookmarks1, [this](const QString &name) { BMarkClick(name); });
}
