// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: building the controls, the splitters and the tool panel's two layouts.
#include "app/Main.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "display/TMIMediaPlayer.h"
#include "toolkit/FreezeDrawing.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

// Design sizes of the window's pieces.
constexpr int TopPanelHeight = 47;
constexpr int SplitterWidth = 2;
constexpr int ToolPanelOneRow = 31;
constexpr int ToolPanelTwoRows = 46;
constexpr int OneRowMinWidth = 422;
constexpr QSize MinimumWindow(320, 240);

template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton *toolButton(QWidget *parent, const char *name, const char *icon, const QString &hint,
                        const QRect &geometry)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(geometry);
    return button;
}

QLabel *panelLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = named(new QLabel(text, parent), name);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(9);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

void TKorvidForm::CreateControls()
{
    setObjectName(QStringLiteral("KorvidForm"));
    setWindowTitle(QStringLiteral("Korvid"));
    setMinimumSize(MinimumWindow);
    resize(554, 380);

    auto *frame = new QWidget(this);
    m_frameLayout = new QVBoxLayout(frame);
    m_frameLayout->setContentsMargins(0, 0, 0, 0);
    m_frameLayout->setSpacing(0);
    setCentralWidget(frame);

    // Left: drive and media-type boxes over the directory list, the file list below.
    ControlPanel1 = named(new QWidget, "ControlPanel1");
    auto *controlLayout = new QVBoxLayout(ControlPanel1);
    controlLayout->setContentsMargins(0, 0, 0, 0);
    LeftSplitter = named(new QSplitter(Qt::Vertical, ControlPanel1), "LeftSplitter");
    controlLayout->addWidget(LeftSplitter);

    DriveDirPanel1 = named(new QWidget, "DriveDirPanel1");
    auto *driveDirLayout = new QVBoxLayout(DriveDirPanel1);
    driveDirLayout->setContentsMargins(0, 0, 0, 0);
    driveDirLayout->setSpacing(0);

    TopPanel = named(new QWidget(DriveDirPanel1), "TopPanel");
    TopPanel->setFixedHeight(TopPanelHeight);
    auto *topLayout = new QGridLayout(TopPanel);
    topLayout->setContentsMargins(2, 1, 0, 1);
    topLayout->setSpacing(1);
    DriveLabel = panelLabel(TopPanel, "DriveLabel", QStringLiteral("Drive:"));
    DriveComboBox1 = named(new TDriveComboBox(TopPanel), "DriveComboBox1");
    DriveComboBox1->setToolTip(QStringLiteral("Select Drive"));
    FilterLabel = panelLabel(TopPanel, "FilterLabel", QStringLiteral("Media Type:"));
    FilterComboBox1 = named(new TFilterComboBox(TopPanel), "FilterComboBox1");
    FilterComboBox1->setToolTip(QStringLiteral("Select File Type(s)"));
    for (QComboBox *box :
         {static_cast<QComboBox *>(DriveComboBox1), static_cast<QComboBox *>(FilterComboBox1)}) {
        box->setMinimumContentsLength(4);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    topLayout->addWidget(DriveLabel, 0, 0);
    topLayout->addWidget(DriveComboBox1, 0, 1);
    topLayout->addWidget(FilterLabel, 1, 0);
    topLayout->addWidget(FilterComboBox1, 1, 1);
    topLayout->setColumnStretch(1, 1);
    driveDirLayout->addWidget(TopPanel);

    DirectoryListBox1 = named(new TDirectoryListBox(DriveDirPanel1), "DirectoryListBox1");
    driveDirLayout->addWidget(DirectoryListBox1);

    FileListBox1 = named(new TFileListBox, "FileListBox1");
    LeftSplitter->addWidget(DriveDirPanel1);
    LeftSplitter->addWidget(FileListBox1);
    LeftSplitter->setHandleWidth(SplitterWidth);
    LeftSplitter->setChildrenCollapsible(false);
    LeftSplitter->setStretchFactor(0, 0);
    LeftSplitter->setStretchFactor(1, 1);
    LeftSplitter->handle(1)->setObjectName(QStringLiteral("VSlidePanel1"));

    // Right: the display area.
    ScrollBox1 = named(new QScrollArea, "ScrollBox1");
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->viewport()->setAutoFillBackground(true);

    MainSplitter = named(new QSplitter(Qt::Horizontal), "MainSplitter");
    MainSplitter->addWidget(ControlPanel1);
    MainSplitter->addWidget(ScrollBox1);
    MainSplitter->setHandleWidth(SplitterWidth);
    MainSplitter->setChildrenCollapsible(false);
    MainSplitter->setStretchFactor(0, 0);
    MainSplitter->setStretchFactor(1, 1);
    MainSplitter->handle(1)->setObjectName(QStringLiteral("HSlidePanel1"));

    ToolPanel = CreateToolPanel();
    m_frameLayout->addWidget(MainSplitter, 1);
    PlaceToolPanel();

    SlideShowTimer = named(new QTimer(this), "SlideShowTimer");
}

QWidget *TKorvidForm::CreateToolPanel()
{
    auto *panel = named(new QWidget, "ToolPanel");
    panel->setFixedHeight(ToolPanelOneRow);

    MIMediaPlayer1 = named(new TMIMediaPlayer(panel), "MIMediaPlayer1");
    MIMediaPlayer1->setGeometry(3, 3, 113, 25);

    NoneSBtn = toolButton(panel, "NoneSBtn", "normal", QStringLiteral("Normal View"),
                          QRect(124, 3, 25, 25));
    ProportionalSBtn =
        toolButton(panel, "ProportionalSBtn", "proportional",
                   QStringLiteral("Proportional Fit to Screen"), QRect(149, 3, 25, 25));
    FullSBtn = toolButton(panel, "FullSBtn", "full", QStringLiteral("Full Fit to Screen"),
                          QRect(174, 3, 25, 25));
    m_stretchGroup = new QButtonGroup(this);
    m_stretchGroup->setExclusive(true);
    int mode = 0;
    for (QToolButton *button : {NoneSBtn, ProportionalSBtn, FullSBtn}) {
        button->setCheckable(true);
        m_stretchGroup->addButton(button, mode++);
    }
    NoneSBtn->setChecked(true);

    InSBtn =
        toolButton(panel, "InSBtn", "zoom-in", QStringLiteral("Zoom In"), QRect(206, 3, 25, 25));
    OutSBtn =
        toolButton(panel, "OutSBtn", "zoom-out", QStringLiteral("Zoom Out"), QRect(232, 3, 25, 25));
    SlideShowBtn = named(new QToolButton(panel), "SlideShowBtn");
    SlideShowBtn->setToolTip(QStringLiteral("VorodOdir Start/Stop"));
    SlideShowBtn->setGeometry(263, 2, 48, 28);
    SlideShowBtn->setIconSize(QSize(42, 22));

    Gauge1 = named(new QProgressBar(panel), "Gauge1");
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(false);
    Gauge1->setGeometry(318, 9, 214, 15);
    return panel;
}

void TKorvidForm::MakeConnections()
{
    // The file list follows the directory list.
    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged, FileListBox1,
            &TFileListBox::setDirectory);
    connect(FilterComboBox1, &TFilterComboBox::MaskChanged, FileListBox1, &TFileListBox::setMask);
    connect(MainSplitter, &QSplitter::splitterMoved, this,
            [this] { m_ctrlPanelWidth = MainSplitter->sizes().value(0, m_ctrlPanelWidth); });
    connect(LeftSplitter, &QSplitter::splitterMoved, this,
            [this] { m_ddirPanelHeight = LeftSplitter->sizes().value(0, m_ddirPanelHeight); });
}

void TKorvidForm::ApplyPanelSizes()
{
    const int width = qMax(MainSplitter->width(), m_ctrlPanelWidth + SplitterWidth + 1);
    MainSplitter->setSizes({m_ctrlPanelWidth, width - m_ctrlPanelWidth - SplitterWidth});
    const int height = qMax(LeftSplitter->height(), m_ddirPanelHeight + SplitterWidth + 1);
    LeftSplitter->setSizes({m_ddirPanelHeight, height - m_ddirPanelHeight - SplitterWidth});
}

void TKorvidForm::PlaceToolPanel()
{
    m_frameLayout->removeWidget(ToolPanel);
    m_frameLayout->insertWidget(BottomToolBar ? 1 : 0, ToolPanel);
}

void TKorvidForm::PressStretchButton()
{
    if (QAbstractButton *button = m_stretchGroup->button(StretchMode))
        button->setChecked(true);
}

void TKorvidForm::ShowScaleTools(bool zoomAllowed)
{
    InSBtn->setEnabled(zoomAllowed && HasPicture);
    OutSBtn->setEnabled(zoomAllowed && HasPicture);
}

void TKorvidForm::FormResize()
{
    if (!isVisible())
        return;
    const FreezeDrawing freeze(this);
    if (width() >= OneRowMinWidth) {
        ToolPanel->setFixedHeight(ToolPanelOneRow);
        Gauge1->setGeometry(320, 9, width() - 6 - 320, 14);
    } else {
        ToolPanel->setFixedHeight(ToolPanelTwoRows);
        Gauge1->setGeometry(6, ToolPanelTwoRows - 12, width() - 12, 10);
    }
}

void TKorvidForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}
