// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/MMManager.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include "files/MMManagerHost.h"
#include "platform/Platform.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/IniFile.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/PlatformColor.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"
#include "toolkit/WindowPlacement.h"

namespace {

const QString Section = QStringLiteral("Korvid32");
constexpr QSize MinimumWindow(320, 240);
constexpr int HelpContext = 200;

// The nearest existing folder at or above path, never above the root.
QString existingAncestor(QString path)
{
    while (!QFileInfo(path).isDir() && !QDir(path).isRoot() && !path.isEmpty())
        path = QFileInfo(path).absolutePath();
    return path;
}

// Catches Enter in a pane's mask edit: the list takes the mask and the box shows Custom.
class MaskEnter : public QObject
{
public:
    MaskEnter(TManagerPane *pane, QObject *parent)
        : QObject(parent)
        , m_pane(pane)
    {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_pane->FileListBox->setMask(m_pane->FilterEdit->text());
        const QSignalBlocker blocker(m_pane->FilterComboBox);
        m_pane->FilterComboBox->setCurrentIndex(
            m_pane->FilterComboBox->findText(QStringLiteral("Custom")));
        return true;
    }

private:
    TManagerPane *m_pane;
};

} // namespace

TMMManager::TMMManager(TMMManagerHost *host, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_host(host)
{
    setObjectName(QStringLiteral("MMManager"));
    setMinimumSize(MinimumWindow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PaneSplitter = new QSplitter(Qt::Horizontal, this);
    PaneSplitter->setHandleWidth(3);
    PaneSplitter->setChildrenCollapsible(false);
    Pane1 = createPane(1);
    Pane2 = createPane(2);
    PaneSplitter->addWidget(Pane1.Panel);
    PaneSplitter->addWidget(Pane2.Panel);
    PaneSplitter->handle(1)->setObjectName(QStringLiteral("HSlidePanel1"));
    layout->addWidget(PaneSplitter, 1);

    ToolPanel = new QWidget(this);
    ToolPanel->setObjectName(QStringLiteral("ToolPanel"));
    ToolPanel->setFixedHeight(38);
    auto *tools = new QHBoxLayout(ToolPanel);
    tools->setContentsMargins(4, 2, 4, 2);
    CloseBtn = new QPushButton(QStringLiteral("Close"), ToolPanel);
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    HelpBtn = new QPushButton(QStringLiteral("&Help"), ToolPanel);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    trashcan1 = new QLabel(ToolPanel);
    trashcan1->setObjectName(QStringLiteral("trashcan1"));
    trashcan1->setFrameShape(QFrame::Panel);
    trashcan1->setFrameShadow(QFrame::Sunken);
    trashcan1->setFixedSize(34, 34);
    trashcan1->setAlignment(Qt::AlignCenter);
    trashcan1->setPixmap(style()->standardIcon(QStyle::SP_TrashIcon).pixmap(24, 24));
    trashcan1->setToolTip(QStringLiteral("Delete files by dropping them here"));
    tools->addWidget(CloseBtn);
    tools->addWidget(HelpBtn);
    tools->addWidget(trashcan1);
    tools->addStretch();
    layout->addWidget(ToolPanel);

    connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(HelpBtn, &QPushButton::clicked, this, [] { OpenHelpTopic(HelpContext); });
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        connect(pane->DriveComboBox, &QComboBox::activated, this,
                [this, pane] { DriveChange(*pane); });
        connect(pane->DirectoryListBox, &TDirectoryListBox::DirectoryChanged, pane->FileListBox,
                &TFileListBox::setDirectory);
        connect(pane->DirectoryListBox, &TDirectoryListBox::DirectoryChanged, this,
                [this, pane] { DirectoryChange(*pane); });
        connect(pane->FilterComboBox, &TFilterComboBox::MaskChanged, pane->FileListBox,
                &TFileListBox::setMask);
        connect(pane->FilterComboBox, &TFilterComboBox::MaskChanged, pane->FilterEdit,
                &QLineEdit::setText);
        connect(pane->FileListBox, &TFileListBox::Change, this, [pane] {
            pane->FileListBox->setHorizontalExtent(pane->FileListBox->WidestEntry());
        });
        pane->FilterEdit->installEventFilter(new MaskEnter(pane, this));
        // A double click shows the file in the main window.
        connect(pane->FileListBox, &TFileListBox::DblClick, this, [this, pane] {
            const int row = pane->FileListBox->ItemIndex();
            if (row >= 0)
                m_host->HostOpenFile(QDir(pane->FileListBox->Directory())
                                         .filePath(pane->FileListBox->itemText(row)));
        });
    }
    createPopupMenu();
    connectDragAndDrop();
    FormCreate();
}

TMMManager::~TMMManager()
{
    FileUtils.Cleanup();
}

TManagerPane TMMManager::createPane(int digit)
{
    const auto name = [digit](const char *base) {
        return QLatin1String(base) + QString::number(digit);
    };
    TManagerPane pane;
    pane.Panel = new QWidget;
    pane.Panel->setObjectName(digit == 1 ? QStringLiteral("LeftPanel")
                                         : QStringLiteral("RightPanel"));
    pane.Panel->setMinimumWidth(60);
    auto *paneLayout = new QVBoxLayout(pane.Panel);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    pane.Splitter = new QSplitter(Qt::Vertical, pane.Panel);
    pane.Splitter->setHandleWidth(2);
    pane.Splitter->setChildrenCollapsible(false);
    paneLayout->addWidget(pane.Splitter);

    pane.DriveDirPanel = new QWidget;
    pane.DriveDirPanel->setObjectName(name("DriveDirPanel"));
    auto *driveDir = new QVBoxLayout(pane.DriveDirPanel);
    driveDir->setContentsMargins(0, 0, 0, 0);
    driveDir->setSpacing(0);
    pane.TopPanel = new QWidget(pane.DriveDirPanel);
    pane.TopPanel->setObjectName(name("TopPanel"));
    pane.TopPanel->setFixedHeight(68);
    auto *top = new QGridLayout(pane.TopPanel);
    top->setContentsMargins(2, 1, 2, 1);
    top->setSpacing(1);
    auto *driveLabel = new QLabel(QStringLiteral("Drive:"), pane.TopPanel);
    auto *filterLabel = new QLabel(QStringLiteral("Media Type:"), pane.TopPanel);
    for (QLabel *label : {driveLabel, filterLabel}) {
        QFont small = label->font();
        small.setPointSize(7);
        label->setFont(small);
    }
    pane.DriveComboBox = new TDriveComboBox(pane.TopPanel);
    pane.DriveComboBox->setObjectName(name("DriveComboBox"));
    pane.DriveComboBox->setToolTip(QStringLiteral("Select Drive"));
    pane.FilterComboBox = new TFilterComboBox(pane.TopPanel);
    pane.FilterComboBox->setObjectName(name("FilterComboBox"));
    pane.FilterComboBox->setToolTip(QStringLiteral("Select File Type(s)"));
    for (QComboBox *box : {static_cast<QComboBox *>(pane.DriveComboBox),
                           static_cast<QComboBox *>(pane.FilterComboBox)}) {
        box->setMinimumContentsLength(4);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    pane.FilterEdit = new QLineEdit(pane.TopPanel);
    pane.FilterEdit->setObjectName(name("FilterEdit"));
    top->addWidget(driveLabel, 0, 0);
    top->addWidget(pane.DriveComboBox, 0, 1);
    top->addWidget(filterLabel, 1, 0);
    top->addWidget(pane.FilterComboBox, 1, 1);
    top->addWidget(pane.FilterEdit, 2, 0, 1, 2);
    top->setColumnStretch(1, 1);
    driveDir->addWidget(pane.TopPanel);
    pane.DirectoryListBox = new TDirectoryListBox(pane.DriveDirPanel);
    pane.DirectoryListBox->setObjectName(name("DirectoryListBox"));
    pane.DirectoryListBox->setMinimumHeight(16);
    driveDir->addWidget(pane.DirectoryListBox);

    pane.FileListBox = new TFileListBox;
    pane.FileListBox->setObjectName(name("FileListBox"));
    pane.FileListBox->setMultiSelect(true);
    pane.Splitter->addWidget(pane.DriveDirPanel);
    pane.Splitter->addWidget(pane.FileListBox);
    pane.Splitter->setStretchFactor(1, 1);
    pane.Splitter->handle(1)->setObjectName(name("VSlidePanel"));
    return pane;
}

void TMMManager::FormCreate()
{
    setWindowTitle(QStringLiteral("Korvid RizirIrivu Dadozuz"));
    FileUtils.Init();
    FileUtils.Owner = this;
    ReadINI();
    SetListColor(ColorFromPlatform(m_host->HostListBackGround()));
    Pane1.DirectoryListBox->setDirectory(m_host->HostFileList()->Directory());
    const QString filter = QStringLiteral("All Files|*.*|") + m_host->HostMediaFilter()
                           + QStringLiteral("|Custom|*.|");
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        pane->FilterComboBox->setFilter(filter);
        pane->FileListBox->setMask(pane->FilterComboBox->Mask());
        pane->FilterEdit->setText(pane->FilterComboBox->Mask());
    }
}

void TMMManager::SetListColor(const QColor &color)
{
    for (QWidget *list :
         {static_cast<QWidget *>(Pane1.DirectoryListBox), static_cast<QWidget *>(Pane1.FileListBox),
          static_cast<QWidget *>(Pane2.DirectoryListBox),
          static_cast<QWidget *>(Pane2.FileListBox)}) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, color);
        list->setPalette(palette);
    }
}

void TMMManager::ReadINI()
{
    const IniFile ini(m_host->HostIniPath());
    const QString mainDirectory = m_host->HostFileList()->Directory();
    const QStringList stored = {
        ini.readString(Section, QStringLiteral("MLastDirectory1"), mainDirectory),
        ini.readString(Section, QStringLiteral("MLastDirectory2"), mainDirectory)};
    int index = 0;
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        const QString directory = stored.at(index++);
        pane->DirectoryListBox->setDirectory(
            QFileInfo(directory).isDir() ? directory : m_host->HostProgramDir());
        pane->DriveComboBox->setDrive(TDriveComboBox::DriveOf(pane->DirectoryListBox->Directory()));
    }
    m_ddir1 = ini.readInteger(Section, QStringLiteral("DDirPanel1Height"), 124);
    m_ddir2 = ini.readInteger(Section, QStringLiteral("DDirPanel2Height"), 124);
    m_leftWidth = ini.readInteger(Section, QStringLiteral("LeftPanelWidth"), 220);
    setGeometry(ini.readInteger(Section, QStringLiteral("ML"), 0),
                ini.readInteger(Section, QStringLiteral("MT"), 120),
                ini.readInteger(Section, QStringLiteral("MW"), 450),
                ini.readInteger(Section, QStringLiteral("MH"), 320));
    SetWindowStateCode(this, ini.readInteger(Section, QStringLiteral("MWindowState"), 0));
    PaneSplitter->setSizes({m_leftWidth, std::max(1, width() - m_leftWidth)});
    Pane1.Splitter->setSizes({m_ddir1, std::max(1, height() - m_ddir1)});
    Pane2.Splitter->setSizes({m_ddir2, std::max(1, height() - m_ddir2)});
}

void TMMManager::WriteINI()
{
    IniFile ini(m_host->HostIniPath());
    ini.writeString(Section, QStringLiteral("MLastDirectory1"),
                    Pane1.DirectoryListBox->Directory());
    ini.writeString(Section, QStringLiteral("MLastDirectory2"),
                    Pane2.DirectoryListBox->Directory());
    const int state = WindowStateCode(this);
    ini.writeInteger(Section, QStringLiteral("MWindowState"), state);
    ini.writeInteger(Section, QStringLiteral("DDirPanel1Height"),
                     Pane1.Splitter->sizes().value(0, m_ddir1));
    ini.writeInteger(Section, QStringLiteral("DDirPanel2Height"),
                     Pane2.Splitter->sizes().value(0, m_ddir2));
    ini.writeInteger(Section, QStringLiteral("LeftPanelWidth"),
                     PaneSplitter->sizes().value(0, m_leftWidth));
    if (state == 0) {
        ini.writeInteger(Section, QStringLiteral("MT"), y());
        ini.writeInteger(Section, QStringLiteral("ML"), x());
        ini.writeInteger(Section, QStringLiteral("MW"), width());
        ini.writeInteger(Section, QStringLiteral("MH"), height());
    }
    if (!ini.save())
        MessageDlg(this, ApplicationTitle,
                   QStringLiteral("The settings could not be saved to %1.\n%2")
                       .arg(QDir::toNativeSeparators(ini.path()), ini.errorString()),
                   QMessageBox::Warning);
}

void TMMManager::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMMManager::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TMMManager::FormShow()
{
    UpdateBMarks();
    if (!m_shownOnce) {
        // Sizes given before the first layout are only hints to the splitters.
        m_shownOnce = true;
        layout()->activate();
        const auto apply = [](QSplitter *splitter, int first, int extent) {
            splitter->setSizes({first, std::max(1, extent - first - splitter->handleWidth())});
        };
        apply(PaneSplitter, m_leftWidth, PaneSplitter->width());
        apply(Pane1.Splitter, m_ddir1, Pane1.Splitter->height());
        apply(Pane2.Splitter, m_ddir2, Pane2.Splitter->height());
    }
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        if (!QFileInfo(pane->DirectoryListBox->Directory()).isDir())
            pane->DirectoryListBox->setDirectory(m_host->HostDirectoryList()->Directory());
        pane->DirectoryListBox->Update();
        pane->FileListBox->Update();
    }
}

void TMMManager::FormClose()
{
    WriteINI();
    PackList.clear();
    m_host->HostManagerClosed();
}

void TMMManager::DriveChange(TManagerPane &pane)
{
    const QString drive = pane.DriveComboBox->Drive();
    if (DriveReady(drive)) {
        pane.DirectoryListBox->setDirectory(drive);
        return;
    }
    MessageDlg(this, ApplicationTitle, QStringLiteral("The selected drive is not ready."),
               QMessageBox::Critical);
    pane.DriveComboBox->setDrive(TDriveComboBox::DriveOf(pane.DirectoryListBox->Directory()));
}

void TMMManager::DirectoryChange(TManagerPane &pane)
{
    pane.DirectoryListBox->setHorizontalExtent(pane.DirectoryListBox->WidestEntry(font()));
    pane.DriveComboBox->setDrive(TDriveComboBox::DriveOf(pane.DirectoryListBox->Directory()));
}

void TMMManager::UpdateAndHold(QWidget *list)
{
    if (auto *files = qobject_cast<TFileListBox *>(list)) {
        files->Update();
    } else if (auto *tree = qobject_cast<TDirectoryListBox *>(list)) {
        const int row = tree->currentRow();
        tree->Update();
        tree->setCurrentRow(row);
    }
}

void TMMManager::UpdateAll()
{
    const QString mainDirectory = m_host->HostFileList()->Directory();
    for (TManagerPane *pane : {&Pane1, &Pane2}) {
        if (pane->FileListBox->Directory().compare(mainDirectory, Qt::CaseInsensitive) == 0)
            UpdateAndHold(pane->FileListBox);
    }
}

QList<TDirectoryListBox *> TMMManager::allTrees() const
{
    return {Pane1.DirectoryListBox, Pane2.DirectoryListBox, m_host->HostDirectoryList()};
}

void TMMManager::CorrectDirBoxes(const QString &name)
{
    for (TDirectoryListBox *tree : allTrees()) {
        if (tree->Directory().toLower().contains(name.toLower()))
            tree->setDirectory(existingAncestor(tree->Directory()));
        tree->Update();
    }
}

void TMMManager::UpdateDirBoxes(const QString &oldName, const QString &newName)
{
    const QString native = QDir::fromNativeSeparators(oldName);
    const QString parent = native.left(native.lastIndexOf(u'/') + 1);
    for (TDirectoryListBox *tree : allTrees()) {
        if (tree->Directory().toLower().contains(parent.toLower()) && QFileInfo(newName).isDir())
            tree->setDirectory(newName);
        else
            tree->Update();
    }
}
