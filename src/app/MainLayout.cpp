// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: building the controls, the splitters and the tool panel's two layouts.
#include "app/Main.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/FormKeys.h"
#include "app/About.h"
#include "app/FullScrn.h"
#include "app/HelpWindow.h"
#include "bookmarks/BMarkUtils.h"
#include "bookmarks/Bmarkorg.h"
#include "files/Newren.h"
#include "options/CheckPW.h"
#include "display/PicturePrefetch.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "toolkit/FreezeDrawing.h"
#include "toolkit/Named.h"
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

QToolButton *toolButton(QWidget *parent, const char *name, const char *icon, const QString &hint,
                        const QRect &geometry)
{
    auto *button = Named(new QToolButton(parent), name);
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
    auto *label = Named(new QLabel(text, parent), name);
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
    ControlPanel1 = Named(new QWidget, "ControlPanel1");
    auto *controlLayout = new QVBoxLayout(ControlPanel1);
    controlLayout->setContentsMargins(0, 0, 0, 0);
    LeftSplitter = Named(new QSplitter(Qt::Vertical, ControlPanel1), "LeftSplitter");
    controlLayout->addWidget(LeftSplitter);

    DriveDirPanel1 = Named(new QWidget, "DriveDirPanel1");
    auto *driveDirLayout = new QVBoxLayout(DriveDirPanel1);
    driveDirLayout->setContentsMargins(0, 0, 0, 0);
    driveDirLayout->setSpacing(0);

    TopPanel = Named(new QWidget(DriveDirPanel1), "TopPanel");
    TopPanel->setFixedHeight(TopPanelHeight);
    auto *topLayout = new QGridLayout(TopPanel);
    topLayout->setContentsMargins(2, 1, 0, 1);
    topLayout->setSpacing(1);
    DriveLabel = panelLabel(TopPanel, "DriveLabel", QStringLiteral("Drive:"));
    DriveComboBox1 = Named(new TDriveComboBox(TopPanel), "DriveComboBox1");
    DriveComboBox1->setToolTip(QStringLiteral("Select Drive"));
    FilterLabel = panelLabel(TopPanel, "FilterLabel", QStringLiteral("Media Type:"));
    FilterComboBox1 = Named(new TFilterComboBox(TopPanel), "FilterComboBox1");
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

    DirectoryListBox1 = Named(new TDirectoryListBox(DriveDirPanel1), "DirectoryListBox1");
    driveDirLayout->addWidget(DirectoryListBox1);

    FileListBox1 = Named(new TFileListBox, "FileListBox1");
    LeftSplitter->addWidget(DriveDirPanel1);
    LeftSplitter->addWidget(FileListBox1);
    LeftSplitter->setHandleWidth(SplitterWidth);
    LeftSplitter->setChildrenCollapsible(false);
    LeftSplitter->setStretchFactor(0, 0);
    LeftSplitter->setStretchFactor(1, 1);
    LeftSplitter->handle(1)->setObjectName(QStringLiteral("VSlidePanel1"));

    // Right: the display area.
    ScrollBox1 = Named(new QScrollArea, "ScrollBox1");
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    ScrollBox1->setWidgetResizable(false);
    Image1 = Named(new TPMultiMedia, "Image1");
    Image1->setCenter(true);
    Image1->setTabStop(true);
    ScrollBox1->setWidget(Image1);
    ScrollBox1->installEventFilter(this);

    MainSplitter = Named(new QSplitter(Qt::Horizontal), "MainSplitter");
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

    // Sounds play here during a VorodOdir while Image1 keeps its picture.
    Sounds1 = Named(new TPMultiMedia(frame), "Sounds1");
    Sounds1->setGeometry(0, 0, 27, 28);
    Sounds1->setVisible(false);

    m_prefetch = std::make_unique<TPicturePrefetch>();
    for (TPMultiMedia *display : {Image1, Sounds1}) {
        display->setImageDither(true);
        display->setImageReadRes(lAutoMatic);
        display->setImageWriteRes(sAutoMatic);
        display->setJPegSaveQuality(25);
        display->setJPegSaveSmooth(0);
        display->setTifSaveCompress(sNONE);
        display->setUseTwainWindow(false);
        display->setTextLeft(0);
        display->setTextTop(0);
        display->setTextRotate(0);
        display->setMediaPlayer(MIMediaPlayer1);
    }
    Image1->setPrefetch(m_prefetch.get());
    // A photograph that changed on disk since its first sight is reported as it is now.
    connect(Image1, &TPMultiMedia::OnPictureReplaced, this, [this] {
        DisplayStats(CurrentFile);
        SetScrollBox();
        CenterScrollBox();
        CalcZoom();
    });
    Image1->setAutoHideMediaPlayer(false);
    MIMediaPlayer1->setDisplay(Image1);

    SlideShowTimer = Named(new QTimer(this), "SlideShowTimer");
    // Slides are timed to the millisecond, not to the coarse timer's 5 %.
    SlideShowTimer->setTimerType(Qt::PreciseTimer);
    BlinkTimer = Named(new QTimer(this), "BlinkTimer");
    BlinkTimer->setInterval(750);
    AutoStartMSTimer = Named(new QTimer(this), "AutoStartMSTimer");
    AutoStartMSTimer->setInterval(10);

    FullScrn1 = new TFullScrn1(this);
    CheckPWDlg = new TCheckPWDlg(this);
    NewRenDlg = new TNewRenDlg(this);
    AboutBox = new TAboutBox(this);
    HelpWindow = new THelpWindow(this);
    BMarks = std::make_unique<TBMarkUtils>();
    BMarkDlg = new TBMarkDlg(BMarks.get(), this);
    BMarkDlg->OnAccepted = [this] { UpdateBMarks(); };
    BMarkDlg->OnGo = [this](const QString &directory) {
        DirectoryListBox1->setDirectory(directory);
        raise();
        activateWindow();
    };
    BMarkDlg->OnClosed = [this](const QRect &bounds) {
        BMarkTop = bounds.top();
        BMarkLeft = bounds.left();
        BMarkWidth = bounds.width();
        BMarkHeight = bounds.height();
    };
    CreateMenus();
}

QWidget *TKorvidForm::CreateToolPanel()
{
    auto *panel = Named(new QWidget, "ToolPanel");
    panel->setFixedHeight(ToolPanelOneRow);

    MIMediaPlayer1 = Named(new TMIMediaPlayer(panel), "MIMediaPlayer1");
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
    SlideShowBtn = Named(new QToolButton(panel), "SlideShowBtn");
    SlideShowBtn->setToolTip(QStringLiteral("VorodOdir Start/Stop"));
    SlideShowBtn->setGeometry(263, 2, 48, 28);
    SlideShowBtn->setIconSize(QSize(42, 22));

    Gauge1 = Named(new QProgressBar(panel), "Gauge1");
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(false);
    Gauge1->setGeometry(318, 9, 214, 15);
    return panel;
}

void TKorvidForm::MakeConnections()
{
    // The directory list follows the drive box by hand, the file list follows the
    // directory list and the media-type box.
    connect(DriveComboBox1, &QComboBox::activated, this, &TKorvidForm::DriveComboBox1Change);
    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged, FileListBox1,
            &TFileListBox::setDirectory);
    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged, this,
            &TKorvidForm::DirectoryListBox1Change);
    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryGone, this,
            &TKorvidForm::DirectoryGone);
    connect(FilterComboBox1, &TFilterComboBox::MaskChanged, FileListBox1, &TFileListBox::setMask);
    connect(FileListBox1, &TFileListBox::Change, this, &TKorvidForm::FileListBox1Change);
    connect(FileListBox1, &TFileListBox::Click, this, &TKorvidForm::FileListBox1Click);
    connect(FileListBox1, &TFileListBox::DblClick, this, &TKorvidForm::FileListBox1DblClick);
    connect(FileListBox1, &TFileListBox::KeyDown, this, &TKorvidForm::FileListBox1KeyDown);
    connect(FileListBox1, &TFileListBox::MouseDown, this, &TKorvidForm::FileListBox1MouseDown);

    connect(NoneSBtn, &QToolButton::clicked, this, &TKorvidForm::NoneSBtnClick);
    connect(ProportionalSBtn, &QToolButton::clicked, this, &TKorvidForm::ProportionalSBtnClick);
    connect(FullSBtn, &QToolButton::clicked, this, &TKorvidForm::FullSBtnClick);
    connect(InSBtn, &QToolButton::clicked, this, &TKorvidForm::InSBtnClick);
    connect(SlideShowBtn, &QToolButton::clicked, this, &TKorvidForm::SlideShowBtnClick);
    connect(SlideShowTimer, &QTimer::timeout, this, &TKorvidForm::SlideShowTimerTimer);
    connect(BlinkTimer, &QTimer::timeout, this, &TKorvidForm::BlinkTimerTimer);
    connect(AutoStartMSTimer, &QTimer::timeout, this, &TKorvidForm::AutoStartMSTimerTimer);
    connect(OutSBtn, &QToolButton::clicked, this, &TKorvidForm::OutSBtnClick);

    // A video that tells its size only with its first frame is laid out once it comes.
    connect(MIMediaPlayer1, &TMIMediaPlayer::FrameChanged, this, [this] {
        if (MediaKind != mkVideo || VideoRect.Right != VideoRect.Left)
            return;
        const QRect source = MIMediaPlayer1->SourceRect();
        if (source.isEmpty())
            return;
        VideoRect = {source.left(), source.top(), source.left() + source.width(),
                     source.top() + source.height()};
        SetVideoStretch();
        SetScrollBox();
        CenterScrollBox();
    });
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

// The display follows the scroll box, whether the window or a splitter resized it.
void TKorvidForm::ScrollBoxResize()
{
    if (!isVisible())
        return;
    Image1->RedrawPicture();
    SetStretch();
    SetScrollBox();
    CenterScrollBox();
    ShowScaleTools(StretchMode != smNormal);
    CalcZoom();
    // A full-fit video takes the display's new geometry, known only after SetScrollBox.
    SetVideoStretch();
}

bool TKorvidForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ScrollBox1 && event->type() == QEvent::Resize) {
        // The box lays out its viewport and scroll bars for the new size first: centring
        // and videos are placed in the viewport the user will see, not the old one.
        static_cast<QObject *>(ScrollBox1)->event(event);
        ScrollBoxResize();
        return true;
    }
    if (watched == Image1) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            Image1DragOver(static_cast<QDragMoveEvent *>(event));
            return true;
        case QEvent::Drop:
            Image1DragDrop(static_cast<QDropEvent *>(event));
            return true;
        case QEvent::Wheel:
            return Image1Wheel(static_cast<QWheelEvent *>(event));
        default:
            break;
        }
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    // The window sees each key once, before the control that has the focus.
    auto *widget = static_cast<QWidget *>(watched);
    QWidget *focus = QApplication::focusWidget();
    if (widget->window() != this || widget != (focus ? focus : this))
        return false;
    return FormKeyDown(static_cast<QKeyEvent *>(event));
}

bool TKorvidForm::FormKeyDown(QKeyEvent *event)
{
    const TFormKeyAction action =
        FormKeyAction(event->key(), ShowRunning, Opening, PasswordProtect);
    if (action == fkDiscard)
        return true;
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(HelpTopicOf(QApplication::focusWidget()));
        return true;
    }
    switch (action) {
    case fkDiscard:
        return true;
    case fkNormal:
        NoneSBtn->setChecked(true);
        NoneSBtnClick();
        break;
    case fkProportional:
        ProportionalSBtn->setChecked(true);
        ProportionalSBtnClick();
        break;
    case fkFull:
        FullSBtn->setChecked(true);
        FullSBtnClick();
        break;
    case fkStopShow:
        SlideShowStop();
        break;
    case fkPauseShow:
        SlideShowPause();
        break;
    case fkPassOn:
        break;
    }
    return false;
}

int TKorvidForm::HelpTopicOf(const QWidget *widget) const
{
    for (const QWidget *w = widget; w && w != this; w = w->parentWidget()) {
        if (w == DriveComboBox1)
            return 104;
        if (w == FilterComboBox1)
            return 105;
        if (w == DirectoryListBox1)
            return 106;
        if (w == FileListBox1)
            return 107;
        if (w == Image1 || w == ScrollBox1 || w == SlideShowBtn)
            return 112;
        if (w == ToolPanel)
            return 7;
    }
    return 418;
}

void TKorvidForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}
