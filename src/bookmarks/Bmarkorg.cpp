// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/Bmarkorg.h"

#include <QCollator>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "bookmarks/Bmedit.h"
#include "toolkit/FixedDialog.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/WindowPlacement.h"

namespace {

constexpr QSize MinimumSize(273, 186);
constexpr int HelpContext = 113;

QPushButton *sideButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(60, 30);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TBMarkDlg::TBMarkDlg(TBMarkUtils *store, QWidget *parent)
    : QDialog(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("BMarkDlg"));
    setWindowTitle(QStringLiteral("Organize Bookmarks"));
    // Without CustomizeWindowHint Qt adds a maximise button to every window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setModal(false);
    setMinimumSize(MinimumSize);
    // It has no maximise button; where the window manager offers one all the same, the
    // window keeps its size.
    RefuseWindowStates(this, Qt::WindowMaximized);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *middle = new QHBoxLayout;
    auto *side = new QVBoxLayout;
    side->setSpacing(0);
    GoBtn = sideButton(this, "GoBtn", QStringLiteral("Go"));
    SortBtn = sideButton(this, "SortBtn", QStringLiteral("Sort"));
    EditBtn = sideButton(this, "EditBtn", QStringLiteral("Edit"));
    RemoveBtn = sideButton(this, "RemoveBtn", QStringLiteral("Remove"));
    for (QPushButton *b : {GoBtn, SortBtn, EditBtn, RemoveBtn})
        side->addWidget(b);
    side->addStretch();
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    middle->addLayout(side);
    middle->addWidget(ListBox1, 1);
    outer->addLayout(middle, 1);

    auto *bottom = new QHBoxLayout;
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    HelpBtn = new QPushButton(QStringLiteral("Help"), this);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    for (QPushButton *b : {OKBtn, CancelBtn, HelpBtn})
        bottom->addWidget(b);
    bottom->addStretch();
    outer->addLayout(bottom);

    PopupMenu1 = new QMenu(this);
    Go1 = PopupMenu1->addAction(QStringLiteral("Go"));
    Sort1 = PopupMenu1->addAction(QStringLiteral("Sort"));
    edit1 = PopupMenu1->addAction(QStringLiteral("Edit"));
    Remove1 = PopupMenu1->addAction(QStringLiteral("Remove"));

    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TBMarkDlg::ListBox1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TBMarkDlg::GoBtnClick);
    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu1Popup();
        PopupMenu1->popup(ListBox1->mapToGlobal(at));
    });
    connect(GoBtn, &QPushButton::clicked, this, &TBMarkDlg::GoBtnClick);
    connect(SortBtn, &QPushButton::clicked, this, &TBMarkDlg::SortBtnClick);
    connect(EditBtn, &QPushButton::clicked, this, &TBMarkDlg::EditBtnClick);
    connect(RemoveBtn, &QPushButton::clicked, this, &TBMarkDlg::RemoveBtnClick);
    connect(Go1, &QAction::triggered, this, &TBMarkDlg::GoBtnClick);
    connect(Sort1, &QAction::triggered, this, &TBMarkDlg::SortBtnClick);
    connect(edit1, &QAction::triggered, this, &TBMarkDlg::EditBtnClick);
    connect(Remove1, &QAction::triggered, this, &TBMarkDlg::RemoveBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &TBMarkDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TBMarkDlg::CancelBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, [] { OpenHelpTopic(HelpContext); });
}

void TBMarkDlg::showEvent(QShowEvent *event)
{
    if (!m_open && !event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TBMarkDlg::hideEvent(QHideEvent *event)
{
    if (m_open && !event->spontaneous())
        FormClose();
    QDialog::hideEvent(event);
}

void TBMarkDlg::FormShow()
{
    m_open = true;
    m_store->CopyTo(WorkingCopy);
    fillList();
    if (Bounds.isValid())
        PlaceWindow(this, QRect(Bounds.topLeft(), Bounds.size().expandedTo(MinimumSize)));
}

void TBMarkDlg::FormClose()
{
    m_open = false;
    Bounds = QRect(pos(), size());
    if (OnClosed)
        OnClosed(Bounds);
    WorkingCopy.clear();
}

void TBMarkDlg::Append(const TBookmark &mark)
{
    if (!m_open)
        return;
    WorkingCopy.append(mark);
    fillList();
}

void TBMarkDlg::fillList()
{
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    for (const TBookmark &mark : std::as_const(WorkingCopy))
        ListBox1->addItem(mark.Name);
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
    updateCommands();
}

void TBMarkDlg::updateCommands()
{
    const bool selected = !ListBox1->selectedItems().isEmpty();
    GoBtn->setEnabled(selected);
    EditBtn->setEnabled(selected);
    RemoveBtn->setEnabled(selected);
    SortBtn->setEnabled(ListBox1->count() > 0);
}

void TBMarkDlg::ListBox1Click()
{
    updateCommands();
}

void TBMarkDlg::PopupMenu1Popup()
{
    const bool selected = !ListBox1->selectedItems().isEmpty();
    Go1->setEnabled(selected);
    edit1->setEnabled(selected);
    Remove1->setEnabled(selected);
    Sort1->setEnabled(ListBox1->count() > 0);
}

void TBMarkDlg::GoBtnClick()
{
    const int row = ListBox1->currentRow();
    if (ListBox1->selectedItems().isEmpty() || row < 0 || row >= WorkingCopy.size())
        return;
    const auto &location = WorkingCopy.at(row).Location;
    const QString target = CheckedBookmarkPath(location ? location->Path : QString(), this);
    if (!target.isEmpty() && OnGo)
        OnGo(target);
}

void TBMarkDlg::SortBtnClick()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(WorkingCopy.begin(), WorkingCopy.end(),
                     [&collator](const TBookmark &a, const TBookmark &b) {
                         return collator.compare(a.Name, b.Name) < 0;
                     });
    fillList();
}

void TBMarkDlg::RemoveBtnClick()
{
    const int row = ListBox1->currentRow();
    if (ListBox1->selectedItems().isEmpty() || row < 0 || row >= WorkingCopy.size())
        return;
    WorkingCopy.removeAt(row);
    fillList();
}

void TBMarkDlg::EditBtnClick()
{
    const int row = ListBox1->currentRow();
    if (ListBox1->selectedItems().isEmpty() || row < 0 || row >= WorkingCopy.size())
        return;
    TBMEditDlg dialog(this);
    const TBookmark &mark = WorkingCopy.at(row);
    dialog.setFields(mark.Name, mark.Location ? mark.Location->Path : QString());
    if (dialog.exec() != QDialog::Accepted)
        return;
    WorkingCopy.insert(row, {dialog.Name(), std::make_shared<TLocation>(dialog.Path()), {}});
    WorkingCopy.removeAt(row + 1);
    fillList();
}

void TBMarkDlg::OKBtnClick()
{
    m_store->AssignFrom(WorkingCopy);
    if (OnAccepted)
        OnAccepted();
    close();
}

void TBMarkDlg::CancelBtnClick()
{
    close();
}
