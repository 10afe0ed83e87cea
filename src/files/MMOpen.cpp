// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/MMOpen.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"
#include "platform/Platform.h"
#include "toolkit/WindowPlacement.h"

namespace {

constexpr QSize ClientSize(392, 295);
constexpr int TimerMs = 10;

} // namespace

TMultiOpenMM::TMultiOpenMM(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MultiOpenMM"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(6, 6, 6, 6);
    auto *left = new QVBoxLayout;
    left->setSpacing(3);
    FilterComboBox1 = new TFilterComboBox(this);
    FilterComboBox1->setObjectName(QStringLiteral("FilterComboBox1"));
    FileListBox1 = new TFileListBox(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setShowGlyphs(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DriveComboBox1 = new TDriveComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    for (QWidget *control :
         {static_cast<QWidget *>(FilterComboBox1), static_cast<QWidget *>(FileListBox1),
          static_cast<QWidget *>(Label1), static_cast<QWidget *>(DirectoryListBox1),
          static_cast<QWidget *>(DriveComboBox1)}) {
        control->setFixedWidth(202);
        left->addWidget(control);
    }
    FileListBox1->setMinimumHeight(97);
    DirectoryListBox1->setMinimumHeight(97);
    columns->addLayout(left);

    auto *right = new QVBoxLayout;
    right->setSpacing(4);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_BrowserStop), QStringLiteral("Stop"),
                              this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFixedSize(85, 30);
    BitBtn1->setEnabled(false);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame *>(Panel1)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setFixedSize(86, 76);
    CheckBox1 = new QCheckBox(QStringLiteral("Auto Display"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    CheckBox2 = new QCheckBox(QStringLiteral("Auto Play"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setFixedSize(75, 14);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(false);
    QPalette gauge = Gauge1->palette();
    gauge.setColor(QPalette::Highlight, QColor(0, 0, 128));
    gauge.setColor(QPalette::Base, gauge.color(QPalette::Button));
    Gauge1->setPalette(gauge);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    for (QPushButton *button : {CancelBtn, OKBtn})
        button->setFixedSize(75, 29);
    right->addWidget(BitBtn1);
    right->addWidget(Panel1);
    // The player's place: it shows for sounds and videos.
    auto *playerSlot = new QVBoxLayout;
    playerSlot->setContentsMargins(0, 0, 0, 0);
    right->addLayout(playerSlot);
    right->addWidget(CheckBox1);
    right->addWidget(CheckBox2);
    right->addWidget(Gauge1);
    right->addStretch();
    right->addWidget(CancelBtn);
    right->addWidget(OKBtn);
    columns->addLayout(right);
    resize(ClientSize);

    FormCreate();
    playerSlot->addWidget(Player);
}

TMultiOpenMM::~TMultiOpenMM()
{
    FormDestroy();
}

void TMultiOpenMM::FormCreate()
{
    StopFlag = false;
    Player = new TMIMediaPlayer(this);
    Player->setObjectName(QStringLiteral("MediaPlayer1"));
    Player->setFixedSize(85, 30);
    for (const TMPBtnType button : {btPlay, btPause, btStop}) {
        Player->setButtonVisible(button, true);
        Player->setButtonEnabled(button, true);
    }
    Player->setButtonVisible(btPrev, false);
    Player->setVisible(false);

    Preview = new TPMultiMedia(Panel1);
    Preview->setObjectName(QStringLiteral("Preview"));
    auto *fill = new QVBoxLayout(Panel1);
    fill->setContentsMargins(1, 1, 1, 1);
    fill->addWidget(Preview);
    Preview->setAutoPlayMultiMedia(false);
    Preview->setAutoRePlayMultiMedia(false);
    Preview->setAutoHideMediaPlayer(true);
    Preview->setColor(palette().color(QPalette::Button));
    Preview->setImageDither(true);
    Preview->setImageReadRes(lAutoMatic);
    Preview->setImageWriteRes(sAutoMatic);
    Preview->setJPegSaveQuality(25);
    Preview->setJPegSaveSmooth(0);
    Preview->setMediaPlayer(Player);
    Preview->setStretchRatio(true);
    Preview->setTabStop(false);
    Player->setDisplay(Preview);

    m_savedProgress = ProgressCallback;
    ProgressCallback = [this](int percent) { return PreviewProgress(percent); };

    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged, FileListBox1,
            &TFileListBox::setDirectory);
    connect(DirectoryListBox1, &TDirectoryListBox::DirectoryChanged, this,
            [this](const QString &path) {
                Label1->setText(QDir::toNativeSeparators(path));
                DriveComboBox1->setDrive(TDriveComboBox::DriveOf(path));
            });
    connect(DriveComboBox1, &QComboBox::activated, this,
            [this] { DirectoryListBox1->setDirectory(DriveComboBox1->Drive()); });
    connect(FilterComboBox1, &TFilterComboBox::MaskChanged, FileListBox1, &TFileListBox::setMask);
    connect(FileListBox1, &TFileListBox::Click, this, &TMultiOpenMM::FileListBox1Change);
    connect(FileListBox1, &TFileListBox::DblClick, this, &TMultiOpenMM::FileListBox1Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TMultiOpenMM::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TMultiOpenMM::CheckBox2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TMultiOpenMM::BitBtn1Click);
    // A sound or video that ends reports no more progress: nothing is loading then.
    connect(Player->player(), &QMediaPlayer::playbackStateChanged, this,
            [this](QMediaPlayer::PlaybackState state) {
                if (state != QMediaPlayer::PlayingState && !m_inProgress) {
                    setListEnabled(true);
                    BitBtn1->setEnabled(false);
                }
            });
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        StopFlag = true;
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, [this] {
        StopFlag = true;
        reject();
    });
    Timer1.setInterval(TimerMs);
    connect(&Timer1, &QTimer::timeout, this, &TMultiOpenMM::Timer1Timer);
    Timer1.start();
}

void TMultiOpenMM::FormDestroy()
{
    Timer1.stop();
    ProgressCallback = m_savedProgress;
    if (Preview)
        Preview->StopMedia();
    delete Preview;
    Preview = nullptr;
    delete Player;
    Player = nullptr;
}

void TMultiOpenMM::FileListBox1Change()
{
    const QString name = FileListBox1->FileName();
    const QString suffix = KindSuffix(name);
    Preview->setMediaName(CheckBox1->isChecked() ? name : QString());
    static const QStringList Immediate = {"CMS", "SCM", "AVI", "MOV", "WAV", "RMI", "ICO", "WMF"};
    if (Immediate.contains(suffix)) {
        setListEnabled(true);
        BitBtn1->setEnabled(false);
    }
}

void TMultiOpenMM::setListEnabled(bool enabled)
{
    if (enabled == FileListBox1->isEnabled())
        return;
    if (!enabled && focusWidget() == FileListBox1) {
        Preview->setFocus(Qt::OtherFocusReason);
        m_keyboardParked = true;
    }
    FileListBox1->setEnabled(enabled);
    // Unless the user has put the keyboard elsewhere meanwhile.
    if (enabled && std::exchange(m_keyboardParked, false) && focusWidget() == Preview)
        FileListBox1->setFocus(Qt::OtherFocusReason);
}

void TMultiOpenMM::CheckBox1Click()
{
    Preview->setMediaName(CheckBox1->isChecked() ? FileListBox1->FileName() : QString());
}

void TMultiOpenMM::CheckBox2Click()
{
    Preview->setAutoPlayMultiMedia(CheckBox2->isChecked());
}

void TMultiOpenMM::Timer1Timer()
{
    if (!Preview)
        return;
    Preview->MessageSpeed = 0;
    Preview->TickMessage();
}

void TMultiOpenMM::BitBtn1Click()
{
    StopFlag = true;
    // Outside a load (a sound between two progress reports, or one that has ended) no
    // report may come to see the flag: the list comes back now.
    if (!m_inProgress) {
        setListEnabled(true);
        BitBtn1->setEnabled(false);
        StopFlag = false;
    }
}

int TMultiOpenMM::PreviewProgress(int percent)
{
    if (!Preview)
        return 0;
    // Another display's loading or playback (the main window's looping video) is none of
    // the dialog's business: it goes on to the routine that was there before.
    TPMultiMedia *const reporter = ProgressReporter();
    if (reporter && reporter != Preview)
        return m_savedProgress ? m_savedProgress(percent) : 1;
    if (StopFlag) {
        setListEnabled(true);
        BitBtn1->setEnabled(false);
        StopFlag = false;
        return 0;
    }
    int result = 0;
    if (!QCoreApplication::closingDown()) {
        Gauge1->setValue(percent);
        // Lets the Stop button be pressed while a picture decodes.
        const bool outer = m_inProgress;
        m_inProgress = true;
        QCoreApplication::processEvents();
        m_inProgress = outer;
        result = 1;
    }
    setListEnabled(percent > 99);
    BitBtn1->setEnabled(percent < 99);
    return result;
}

TMMOpenDialog::TMMOpenDialog(QWidget *owner)
    : QObject(owner)
    , Filter(MediaOpenFilter())
    , m_owner(owner)
{}

bool TMMOpenDialog::Execute()
{
    TMultiOpenMM dialog(m_owner);
    m_dialog = &dialog;
    dialog.FilterComboBox1->setFilter(Filter);
    dialog.FileListBox1->setMask(dialog.FilterComboBox1->Mask());
    dialog.DirectoryListBox1->setDirectory(InitialDir.isEmpty() ? QDir::currentPath() : InitialDir);
    // A file name given beforehand is selected when it lies in that folder.
    if (QFileInfo(FileName).isFile()
        && QFileInfo(FileName).absolutePath() == dialog.DirectoryListBox1->Directory())
        dialog.FileListBox1->setFileName(FileName);
    dialog.CheckBox1->setChecked(AutoDisPlay);
    dialog.CheckBox2->setChecked(AutoPlay);
    dialog.CheckBox2->setVisible(AllowAutoPlay);
    dialog.Preview->setAutoPlayMultiMedia(AutoPlay);
    dialog.setWindowTitle(Title);
    CenterOnScreen(&dialog);
    Q_EMIT DialogCreated(&dialog);
    const bool result = dialog.exec() == QDialog::Accepted;
    FileName = dialog.FileListBox1->FileName();
    m_dialog = nullptr;
    return result;
}
