// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/TDirectoryListBox.h"

#include <algorithm>

#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/Platform.h"
#include "toolkit/DirectoryScan.h"
#include "toolkit/FileDrag.h"
#include "toolkit/FolderWatch.h"
#include "toolkit/ShownName.h"

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int LevelRole = Qt::UserRole + 1;

// Shifts each entry right by its depth so that the list reads as a tree.
class IndentDelegate : public QStyledItemDelegate
{
public:
    explicit IndentDelegate(const TDirectoryListBox *list)
        : QStyledItemDelegate(const_cast<TDirectoryListBox *>(list))
        , m_list(list)
    {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width() + indent(option, index), m_list->horizontalExtent()));
        return size;
    }

private:
    const TDirectoryListBox *m_list;

    static int indent(const QStyleOptionViewItem &option, const QModelIndex &index)
    {
        return index.data(LevelRole).toInt() * option.decorationSize.width() / 2;
    }
};

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget *parent)
    : QListWidget(parent)
    , m_watch(new TFolderWatch(this))
{
    connect(m_watch, &TFolderWatch::Changed, this, &TDirectoryListBox::followDisk);
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setDirectory(item->data(PathRole).toString()); });
}

void TDirectoryListBox::setDirectory(const QString &path)
{
    const QString clean = ExistingDirectory(path);
    if (clean.isEmpty() || clean == m_directory)
        return;
    m_directory = clean;
    fill();
    watchFolders();
    Q_EMIT DirectoryChanged(m_directory);
}

void TDirectoryListBox::Update()
{
    const QString highlighted =
        currentItem() ? currentItem()->data(PathRole).toString() : QString();
    const int top = verticalScrollBar()->value();
    fill();
    for (int row = 0; row < count(); ++row) {
        if (!highlighted.isEmpty() && pathAt(row) == highlighted)
            setCurrentRow(row);
    }
    verticalScrollBar()->setValue(top);
}

void TDirectoryListBox::watchFolders()
{
    // The parent too: a current directory renamed away shows there, not in itself.
    QStringList folders;
    if (isVisible() && !m_directory.isEmpty()) {
        folders.append(m_directory);
        QDir parent(m_directory);
        if (parent.cdUp())
            folders.append(parent.absolutePath());
    }
    m_watch->setFolders(folders);
}

void TDirectoryListBox::followDisk()
{
    if (m_directory.isEmpty())
        return;
    if (!QFileInfo(m_directory).isDir()) {
        const QString gone = m_directory;
        const QString parent = NearestExistingDirectory(gone);
        setDirectory(parent.isEmpty() ? QDir::rootPath() : parent);
        Q_EMIT DirectoryGone(gone);
        return;
    }
    Update();
}

void TDirectoryListBox::showEvent(QShowEvent *event)
{
    QListWidget::showEvent(event);
    watchFolders();
    if (std::exchange(m_stale, false))
        followDisk();
}

void TDirectoryListBox::hideEvent(QHideEvent *event)
{
    QListWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    m_stale = true;
    watchFolders();
}

void TDirectoryListBox::setDragSource(bool value)
{
    setDragEnabled(value);
    setDragDropMode(value ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
}

void TDirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    // Enter opens the folder and goes no further: in a dialog it would press OK as well.
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        followDisk();
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem()) {
        setDirectory(currentItem()->data(PathRole).toString());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TDirectoryListBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT MouseDown(event);
    if (event->isAccepted())
        QListWidget::mousePressEvent(event);
}

void TDirectoryListBox::startDrag(Qt::DropActions)
{
    auto *drag = new QDrag(this);
    drag->setMimeData(FileDrag::create({}, this));
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

int TDirectoryListBox::folderPictureWidth() const
{
    return iconSize().isValid() ? iconSize().width()
                                : style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
}

int TDirectoryListBox::WidestEntry(const QFont &font) const
{
    const QFontMetrics metrics(font);
    const int picture = folderPictureWidth();
    const int indent = CountBackslashes(QDir::toNativeSeparators(m_directory)) * (picture / 2);
    int widest = 0;
    for (int row = 0; row < count(); ++row)
        widest = std::max(widest,
                          metrics.horizontalAdvance(item(row)->text() + u'X') + picture + indent);
    return widest;
}

void TDirectoryListBox::setHorizontalExtent(int pixels)
{
    if (pixels == m_extent)
        return;
    m_extent = pixels;
    scheduleDelayedItemsLayout();
    showCurrentEntry();
}

void TDirectoryListBox::showCurrentEntry()
{
    QListWidgetItem *entry = currentItem();
    if (!entry)
        return;
    // The scroll ranges must know the new entries before the list can scroll to one.
    executeDelayedItemsLayout();
    scrollToItem(entry);
    // A deep folder's entry is indented past the right edge of a narrow list: scroll so
    // that its picture and the start of its name show.
    const int picture = folderPictureWidth();
    const int start = entry->data(LevelRole).toInt() * picture / 2;
    QScrollBar *bar = horizontalScrollBar();
    const int seen = viewport()->width();
    if (start < bar->value() || start + 2 * picture > bar->value() + seen)
        bar->setValue(qMax(0, start - picture / 2));
}

void TDirectoryListBox::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    showCurrentEntry();
}

QString TDirectoryListBox::pathAt(int row) const
{
    const QListWidgetItem *entry = item(row);
    return entry ? entry->data(PathRole).toString() : QString();
}

void TDirectoryListBox::fill()
{
    const QSignalBlocker blocker(this);
    clear();
    if (m_directory.isEmpty())
        return;

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    QStringList chain;
    for (QDir dir(m_directory);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int level = 0;
    for (const QString &path : chain) {
        const QString name =
            QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        auto *entry = new QListWidgetItem(openIcon, ShownName(name), this);
        entry->setData(PathRole, path);
        entry->setData(LevelRole, level++);
    }
    setCurrentRow(count() - 1);

    const QDir current(m_directory);
    QStringList subfolders = Subdirectories(m_directory);
    SortFileNames(subfolders);
    for (const QString &name : subfolders) {
        auto *entry = new QListWidgetItem(closedIcon, ShownName(name), this);
        entry->setData(PathRole, current.absoluteFilePath(name));
        entry->setData(LevelRole, level);
    }
    showCurrentEntry();
}
