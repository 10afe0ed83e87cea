// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/TDirectoryListBox.h"

#include <algorithm>
#include <chrono>
#include <future>

#include <QCoreApplication>
#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QThreadPool>

#include "platform/Platform.h"
#include "toolkit/DirectoryScan.h"
#include "toolkit/FileDrag.h"
#include "toolkit/FolderWatch.h"
#include "toolkit/ShownName.h"

namespace {

// How long the window waits for the subfolders before it shows the ancestors alone.
constexpr std::chrono::milliseconds SyncWait(10);

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

struct SubfolderReading
{
    QString directory;
    QStringList names;
    std::promise<void> promise;
    std::shared_future<void> done = promise.get_future().share();
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

TDirectoryListBox::TDirectoryListBox(QWidget *parent)
    : QListWidget(parent)
    , m_watch(new TFolderWatch(this))
    , m_parentWatch(new TFolderWatch(this))
{
    connect(m_watch, &TFolderWatch::Changed, this, &TDirectoryListBox::followDisk);
    connect(m_parentWatch, &TFolderWatch::Changed, this, [this] {
        if (!m_directory.isEmpty() && !QFileInfo(m_directory).isDir())
            followDisk();
    });
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
    m_keepHighlighted.clear();
    m_keepTop = -1;
    fill();
    watchFolders();
    // The file list starts its own reading meanwhile: the two waits overlap.
    Q_EMIT DirectoryChanged(m_directory);
    awaitSubfolders();
}

void TDirectoryListBox::Update()
{
    // While the last reading is still under way, what it was to keep still holds.
    if (!m_reading) {
        m_keepHighlighted = currentItem() ? currentItem()->data(PathRole).toString() : QString();
        m_keepTop = verticalScrollBar()->value();
    }
    fill();
    awaitSubfolders();
}

void TDirectoryListBox::awaitSubfolders()
{
    const std::shared_ptr<SubfolderReading> reading = m_reading;
    if (reading
        && reading->done.wait_until(reading->started + SyncWait) == std::future_status::ready)
        addSubfolders(reading);
}

void TDirectoryListBox::watchFolders()
{
    m_watch->setFolders(isVisible() ? QStringList{m_directory} : QStringList());
    // A folder renamed away is told only in its parent, which can be as busy as /tmp: its
    // changes have a watch of their own, so they do not slow the folder's.
    QDir parent(m_directory);
    m_parentWatch->setFolders(isVisible() && parent.cdUp() ? QStringList{parent.absolutePath()}
                                                           : QStringList());
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
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        followDisk();
        event->accept();
        return;
    }
    // Enter opens the folder and goes no further: in a dialog it would press OK as well.
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
    m_reading.reset();
    if (m_directory.isEmpty())
        return;

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);

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

    showCurrentEntry();

    // Reading a folder of 100,000 files for its subfolders takes tens of milliseconds.
    auto reading = std::make_shared<SubfolderReading>();
    reading->directory = m_directory;
    m_reading = reading;
    QThreadPool::globalInstance()->start([reading, self = QPointer<TDirectoryListBox>(this)] {
        reading->names = Subdirectories(reading->directory);
        SortFileNames(reading->names);
        reading->promise.set_value();
        // self is looked at only on the window's thread.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [reading, self] {
                if (self)
                    self->addSubfolders(reading);
            },
            Qt::QueuedConnection);
    });
}

void TDirectoryListBox::addSubfolders(const std::shared_ptr<SubfolderReading> &reading)
{
    if (reading != m_reading)
        return;
    m_reading.reset();
    const QSignalBlocker blocker(this);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QDir current(m_directory);
    const int level = count();
    for (const QString &name : std::as_const(reading->names)) {
        auto *entry = new QListWidgetItem(closedIcon, ShownName(name), this);
        entry->setData(PathRole, current.absoluteFilePath(name));
        entry->setData(LevelRole, level);
    }
    const QString highlighted = std::exchange(m_keepHighlighted, QString());
    for (int row = 0; row < count() && !highlighted.isEmpty(); ++row) {
        if (pathAt(row) == highlighted)
            setCurrentRow(row);
    }
    if (const int top = std::exchange(m_keepTop, -1); top >= 0)
        verticalScrollBar()->setValue(top);
    else
        showCurrentEntry();
}
