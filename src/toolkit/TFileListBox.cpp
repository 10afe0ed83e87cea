// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/TFileListBox.h"

#include <chrono>
#include <future>

#include <QAbstractListModel>
#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QThreadPool>

#include "toolkit/DirectoryScan.h"
#include "toolkit/FileDrag.h"
#include "toolkit/FileTypeIcon.h"
#include "toolkit/FolderWatch.h"
#include "toolkit/ShownName.h"

namespace {

// A folder read within this time is shown before setDirectory returns; a longer reading
// goes on in the background so the window keeps answering.
constexpr std::chrono::milliseconds SyncWait(10);

} // namespace

struct FileListScan
{
    QString directory;
    QString mask;
    QFont font;
    std::atomic<bool> cancel{false};
    std::shared_future<DirectoryScanResult> result;
};

// The entries as a flat list of names.
class FileListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_names.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_names.size())
            return {};
        if (role == Qt::DisplayRole)
            return ShownName(m_names.at(index.row()));
        if (role == Qt::DecorationRole && showGlyphs)
            return FileTypeIcon(m_names.at(index.row()));
        return {};
    }

    void setNames(QStringList names)
    {
        beginResetModel();
        m_names = std::move(names);
        endResetModel();
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
    }

    const QStringList &names() const { return m_names; }

    void removeAt(int row)
    {
        beginRemoveRows(QModelIndex(), row, row);
        m_names.removeAt(row);
        endRemoveRows();
    }

    bool showGlyphs = false;

private:
    QStringList m_names;
};

// Every row is as wide as the horizontal extent, so the list scrolls sideways to the end
// of the widest name without measuring each row.
class ExtentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width(), extent));
        return size;
    }

    int extent = 0;
};

TFileListBox::TFileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new FileListModel(this))
    , m_delegate(new ExtentDelegate(this))
    , m_watch(new TFolderWatch(this))
{
    connect(m_watch, &TFolderWatch::Changed, this, &TFileListBox::followDisk);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

TFileListBox::~TFileListBox()
{
    // Workers post their results to this object: let them end before the object does.
    for (const auto &scan : std::as_const(m_workers)) {
        scan->cancel = true;
        scan->result.wait();
    }
}

bool TFileListBox::ShowGlyphs() const
{
    return m_model->showGlyphs;
}

void TFileListBox::setShowGlyphs(bool value)
{
    if (value == m_model->showGlyphs)
        return;
    m_model->showGlyphs = value;
    // Small pictures, as the desktop's lists show them: the rows stay nearly text-high.
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    setIconSize(QSize(side, side));
    // Rows are as high as the first one: they are measured again, with or without it.
    scheduleDelayedItemsLayout();
}

void TFileListBox::setDirectory(const QString &path)
{
    const QString clean = ExistingDirectory(path);
    if (clean.isEmpty() || clean == m_directory)
        return;
    m_directory = clean;
    m_pendingName.clear();
    m_pendingIndex = m_pendingTop = -1;
    fill();
    watchFolder();
}

void TFileListBox::watchFolder()
{
    m_watch->setFolders(isVisible() ? QStringList{m_directory} : QStringList());
}

void TFileListBox::showEvent(QShowEvent *event)
{
    QListView::showEvent(event);
    watchFolder();
    // What changed while the list was hidden.
    if (std::exchange(m_stale, false))
        followDisk();
}

void TFileListBox::hideEvent(QHideEvent *event)
{
    QListView::hideEvent(event);
    if (event->spontaneous())
        return;
    m_stale = true;
    watchFolder();
}

void TFileListBox::followDisk()
{
    if (m_directory.isEmpty())
        return;
    if (!isLoading()) {
        const QModelIndex current = currentIndex();
        const bool selected = current.isValid() && selectionModel()->isSelected(current);
        m_pendingName = selected ? itemText(current.row()) : QString();
        m_pendingSelected = SelectedNames();
        m_pendingIndex = -1;
        m_pendingTop = -1;
        m_pendingTopName = itemText(TopIndex());
    }
    fill();
}

void TFileListBox::setMask(const QString &mask)
{
    if (mask == m_mask)
        return;
    m_mask = mask;
    m_pendingName.clear();
    m_pendingIndex = m_pendingTop = -1;
    fill();
}

bool TFileListBox::MultiSelect() const
{
    return selectionMode() == QAbstractItemView::ExtendedSelection;
}

void TFileListBox::setMultiSelect(bool value)
{
    setSelectionMode(value ? QAbstractItemView::ExtendedSelection
                           : QAbstractItemView::SingleSelection);
}

void TFileListBox::setDragSource(bool value)
{
    setDragEnabled(value);
    setDragDropMode(value ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
}

void TFileListBox::startDrag(Qt::DropActions supportedActions)
{
    QStringList paths;
    const QDir directory(m_directory);
    for (const QString &name : SelectedNames())
        paths.append(directory.filePath(name));
    if (!paths.isEmpty()) {
        auto *drag = new QDrag(this);
        drag->setMimeData(FileDrag::create(paths, this));
        drag->exec(supportedActions | Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    }
    Q_EMIT EndDrag();
}

int TFileListBox::count() const
{
    return m_model->rowCount();
}

QString TFileListBox::itemText(int row) const
{
    return m_model->names().value(row);
}

int TFileListBox::ItemIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TFileListBox::setItemIndex(int row)
{
    if (isLoading()) {
        m_pendingName.clear();
        m_pendingIndex = row;
        return;
    }
    selectRow(row);
}

void TFileListBox::selectRow(int row)
{
    if (row < 0 || row >= count()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = m_model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QStringList TFileListBox::SelectedNames() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QStringList names;
    for (const int row : rows)
        names.append(itemText(row));
    return names;
}

int TFileListBox::itemAtPos(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

bool TFileListBox::removeName(const QString &name)
{
    const QStringList &names = m_model->names();
    qsizetype row = names.indexOf(name);
    if (row < 0) {
        for (qsizetype i = 0; i < names.size() && row < 0; ++i) {
            if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
                row = i;
        }
    }
    if (row < 0)
        return false;
    m_model->removeAt(int(row));
    return true;
}

QString TFileListBox::FileName() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current) || m_directory.isEmpty())
        return {};
    return QDir(m_directory).filePath(itemText(current.row()));
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
    if (isLoading()) {
        m_pendingName = name;
        return;
    }
    selectName(name);
}

int TFileListBox::TopIndex() const
{
    return verticalScrollBar()->value();
}

void TFileListBox::setTopIndex(int index)
{
    if (isLoading()) {
        m_pendingTop = index;
        return;
    }
    verticalScrollBar()->setValue(index);
}

void TFileListBox::Update()
{
    const int index = isLoading() ? m_pendingIndex : ItemIndex();
    const int top = isLoading() ? m_pendingTop : TopIndex();
    fill();
    setItemIndex(index);
    setTopIndex(top);
}

bool TFileListBox::selectName(const QString &name)
{
    const QStringList &names = m_model->names();
    qsizetype row = names.indexOf(name);
    for (qsizetype i = 0; i < names.size() && row < 0; ++i) {
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            row = i;
    }
    if (row < 0)
        return false;
    selectRow(int(row));
    return true;
}

void TFileListBox::setHorizontalExtent(int pixels)
{
    if (pixels == m_delegate->extent)
        return;
    m_delegate->extent = pixels;
    scheduleDelayedItemsLayout();
}

void TFileListBox::cancelScan()
{
    if (m_scan) {
        m_scan->cancel = true;
        m_scan.reset();
    }
}

void TFileListBox::fill()
{
    cancelScan();
    ++m_readings;
    if (m_directory.isEmpty()) {
        m_model->setNames({});
        return;
    }
    auto scan = std::make_shared<FileListScan>();
    scan->directory = m_directory;
    scan->mask = m_mask;
    scan->font = font();
    auto promise = std::make_shared<std::promise<DirectoryScanResult>>();
    scan->result = promise->get_future().share();
    m_scan = scan;
    m_workers.removeIf([](const std::shared_ptr<FileListScan> &worker) {
        return worker->result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    m_workers.append(scan);
    QThreadPool::globalInstance()->start([this, scan, promise] {
        DirectoryScanResult result =
            ScanDirectory(scan->directory, scan->mask, scan->font, &scan->cancel);
        // The destructor waits for the value set below, so this object still exists here.
        if (!scan->cancel)
            QMetaObject::invokeMethod(
                this, [this, scan] { finishScan(scan); }, Qt::QueuedConnection);
        promise->set_value(std::move(result));
    });
    if (scan->result.wait_for(SyncWait) == std::future_status::ready)
        finishScan(scan);
}

void TFileListBox::finishScan(const std::shared_ptr<FileListScan> &scan)
{
    if (scan != m_scan)
        return;
    m_scan.reset();
    const DirectoryScanResult &result = scan->result.get();
    m_widest = result.widest;
    m_model->setNames(result.names);
    clearSelection();
    const QString name = std::exchange(m_pendingName, QString());
    const QStringList selected = std::exchange(m_pendingSelected, QStringList());
    const QString topName = std::exchange(m_pendingTopName, QString());
    if ((name.isEmpty() || !selectName(name)) && m_pendingIndex >= 0)
        selectRow(m_pendingIndex);
    for (const QString &other : selected) {
        const qsizetype row = m_model->names().indexOf(other);
        if (other != name && row >= 0)
            selectionModel()->select(m_model->index(int(row)), QItemSelectionModel::Select);
    }
    if (m_pendingTop >= 0)
        verticalScrollBar()->setValue(m_pendingTop);
    else if (const qsizetype top = m_model->names().indexOf(topName);
             !topName.isEmpty() && top >= 0)
        verticalScrollBar()->setValue(int(top));
    m_pendingIndex = m_pendingTop = -1;
    Q_EMIT Change();
    Q_EMIT Loaded();
}

void TFileListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        followDisk();
        event->accept();
        return;
    }
    event->accept();
    Q_EMIT KeyDown(event);
    if (!event->isAccepted())
        return;
    const int before = ItemIndex();
    QListView::keyPressEvent(event);
    if (ItemIndex() != before && ItemIndex() >= 0)
        Q_EMIT Click();
}

void TFileListBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT MouseDown(event);
    if (!event->isAccepted() || event->button() == Qt::RightButton)
        return;
    QListView::mousePressEvent(event);
}

void TFileListBox::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index == currentIndex())
        Q_EMIT Click();
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT DblClick();
}
