// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/OptionsDlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "options/SetPW.h"
#include "options/VerifyPW.h"
#include "platform/InputLock.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/FixedDialog.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/Named.h"
#include "toolkit/WindowPlacement.h"

namespace {

constexpr int DialogWidth = 440;
constexpr int ShortHeight = 226;
constexpr int TallHeight = 305;
constexpr int ButtonHelpContext = 108;
enum Page { General, MultiMedia, VorodOdir, Manager };

const QString ImageFilter = QStringLiteral(
    "All Images|*.BMP;*.GIF;*.JPG;*.PCX;*.PNG;*.TIF;*.WMF;|BMP|*.BMP|GIF|*.GIF|JPG|*.JPG"
    "|PCX|*.PCX|PNG|*.PNG|TIF|*.TIF|WMF|*.WMF");

} // namespace

TOptionsNotebookDlg::TOptionsNotebookDlg(TOptionsSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("OptionsNotebookDlg"));
    setWindowTitle(QStringLiteral("Korvid Options"));
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(6, 6, 6, 6);
    OptionsTNB = Named(new QTabWidget(this), "OptionsTNB");
    OptionsTNB->addTab(createGeneralPage(), QStringLiteral("General"));
    OptionsTNB->addTab(createMultiMediaPage(), QStringLiteral("MultiMedia"));
    OptionsTNB->addTab(createVorodOdirPage(), QStringLiteral("VorodOdir"));
    OptionsTNB->addTab(createManagerPage(), QStringLiteral("Manager"));
    columns->addWidget(OptionsTNB, 1);

    auto *buttons = new QVBoxLayout;
    OKBtn = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                  QStringLiteral("OK"), this),
                  "OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                      QStringLiteral("Cancel"), this),
                      "CancelBtn");
    HelpBtn = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton),
                                    QStringLiteral("&Help"), this),
                    "HelpBtn");
    for (QPushButton *button : {OKBtn, CancelBtn, HelpBtn})
        buttons->addWidget(button);
    buttons->addStretch();
    columns->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TOptionsNotebookDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [] { OpenHelpTopic(ButtonHelpContext); });
    connect(OptionsTNB, &QTabWidget::currentChanged, this, &TOptionsNotebookDlg::OptionsTNBChange);
    setFixedSize(DialogWidth, ShortHeight);
    MakeFixedDialog(this);
}

QWidget *TOptionsNotebookDlg::createGeneralPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    BottomTB =
        Named(new QCheckBox(QStringLiteral("ToolBar at Bottom of Window"), page), "BottomTB");
    SingleClickCB =
        Named(new QCheckBox(QStringLiteral("Open File on Single Click"), page), "SingleClickCB");
    FileStatsCB =
        Named(new QCheckBox(QStringLiteral("Display File Size and Date"), page), "FileStatsCB");
    for (QCheckBox *box : {BottomTB, SingleClickCB, FileStatsCB})
        layout->addWidget(box);
    GroupBox2 = Named(new QGroupBox(QStringLiteral("Background Colors"), page), "GroupBox2");
    auto *colours = new QGridLayout(GroupBox2);
    colours->setContentsMargins(8, 4, 8, 4);
    colours->setVerticalSpacing(4);
    const auto colourRow = [&](int row, const char *panelName, const char *buttonName,
                               const QString &caption, QFrame *&panel, QPushButton *&button) {
        panel = Named(new QFrame(GroupBox2), panelName);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAutoFillBackground(true);
        panel->setFixedSize(40, 22);
        button = Named(new QPushButton(caption, GroupBox2), buttonName);
        colours->addWidget(panel, row, 0);
        colours->addWidget(button, row, 1);
        connect(button, &QPushButton::clicked, this, [this, button] { BGColorBtnClick(button); });
    };
    colourRow(0, "ListBGColorPanel", "ListBGColorBtn", QStringLiteral("File Lists"),
              ListBGColorPanel, ListBGColorBtn);
    colourRow(1, "BGColorPanel", "BGColorBtn", QStringLiteral("Image"), BGColorPanel, BGColorBtn);
    colours->setColumnStretch(2, 1);
    layout->addWidget(GroupBox2);
    layout->addStretch();
    return page;
}

QWidget *TOptionsNotebookDlg::createMultiMediaPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    AutoPlayMMCB = Named(new QCheckBox(QStringLiteral("AutoPlayMultiMedia"), page), "AutoPlayMMCB");
    AutoRepeatMMCB =
        Named(new QCheckBox(QStringLiteral("AutoRePlayMultiMedia"), page), "AutoRepeatMMCB");
    layout->addWidget(AutoPlayMMCB);
    layout->addWidget(AutoRepeatMMCB);
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Video Display Scale"), page), "GroupBox1");
    auto *scale = new QHBoxLayout(GroupBox1);
    MMScaleSB = Named(new QScrollBar(Qt::Horizontal, GroupBox1), "MMScaleSB");
    MMScaleSB->setRange(1, 10);
    MMScaleSB->setPageStep(1);
    MMScaleLabel = Named(new QLabel(QStringLiteral("1X"), GroupBox1), "MMScaleLabel");
    MMScaleLabel->setMinimumWidth(30);
    scale->addWidget(MMScaleSB, 1);
    scale->addWidget(MMScaleLabel);
    layout->addWidget(GroupBox1);
    InfoLabel = Named(
        new QLabel(QStringLiteral("Only valid when display mode is set to \"Normal\" "), page),
        "InfoLabel");
    layout->addWidget(InfoLabel);
    layout->addStretch();
    connect(MMScaleSB, &QScrollBar::valueChanged, this, &TOptionsNotebookDlg::MMScaleSBChange);
    return page;
}

QWidget *TOptionsNotebookDlg::createVorodOdirPage()
{
    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);
    layout->setVerticalSpacing(3);

    auto *left = new QVBoxLayout;
    auto *time = new QHBoxLayout;
    ShowTimeSE = Named(new QSpinBox(page), "ShowTimeSE");
    ShowTimeSE->setRange(1, 60);
    ShowTimeSE->setValue(3);
    time->addWidget(Named(new QLabel(QStringLiteral("Display"), page), "Label2"));
    time->addWidget(ShowTimeSE);
    time->addWidget(Named(new QLabel(QStringLiteral("Time"), page), "Label1"));
    time->addStretch();
    left->addLayout(time);
    FullScrnCB = Named(new QCheckBox(QStringLiteral("&Full Screen"), page), "FullScrnCB");
    left->addWidget(FullScrnCB);
    FullScreenGB =
        Named(new QGroupBox(QStringLiteral("Full Screen Options"), page), "FullScreenGB");
    auto *fullScreen = new QVBoxLayout(FullScreenGB);
    ShowProgressCB =
        Named(new QCheckBox(QStringLiteral("Show Progress"), FullScreenGB), "ShowProgressCB");
    ShowFileNameCB =
        Named(new QCheckBox(QStringLiteral("Show File Name"), FullScreenGB), "ShowFileNameCB");
    fullScreen->addWidget(ShowProgressCB);
    fullScreen->addWidget(ShowFileNameCB);
    left->addWidget(FullScreenGB);
    layout->addLayout(left, 0, 0);

    PasswordGB = Named(new QGroupBox(QStringLiteral("Password"), page), "PasswordGB");
    auto *password = new QVBoxLayout(PasswordGB);
    PasswordCB =
        Named(new QCheckBox(QStringLiteral("&Password Protect"), PasswordGB), "PasswordCB");
    PasswordBtn =
        Named(new QPushButton(QStringLiteral("&Set Password"), PasswordGB), "PasswordBtn");
    const QString why = InputLock::Unavailable();
    PasswordNotice =
        Named(new QLabel(QStringLiteral("This session cannot\nlock the screen."), PasswordGB),
              "PasswordNotice");
    // A note under the box in the smaller type of a hint, broken where it fits the narrow
    // box, so the page keeps its height.
    QFont hint = PasswordNotice->font();
    hint.setPointSizeF(hint.pointSizeF() * 0.9);
    PasswordNotice->setFont(hint);
    PasswordNotice->setToolTip(QStringLiteral("Anyone can switch away from a protected show: ")
                               + why);
    PasswordNotice->setVisible(!why.isEmpty());
    password->addWidget(PasswordCB);
    password->addWidget(PasswordNotice);
    password->addWidget(PasswordBtn);
    password->addStretch();
    layout->addWidget(PasswordGB, 0, 1);

    SoundImageGB =
        Named(new QGroupBox(QStringLiteral("Image to Display While Playing Sound Files"), page),
              "SoundImageGB");
    auto *sound = new QGridLayout(SoundImageGB);
    sound->setVerticalSpacing(2);
    NoImageRB = Named(new QRadioButton(QStringLiteral("No Image"), SoundImageGB), "NoImageRB");
    WallPaperRB = Named(new QRadioButton(QStringLiteral("Use Desktop WallPaper"), SoundImageGB),
                        "WallPaperRB");
    UserImageRB =
        Named(new QRadioButton(QStringLiteral("User Selected Image"), SoundImageGB), "UserImageRB");
    ImageEB = Named(new QLineEdit(SoundImageGB), "ImageEB");
    SelectBtn = Named(new QPushButton(QStringLiteral("Browse"), SoundImageGB), "SelectBtn");
    sound->addWidget(NoImageRB, 0, 0);
    sound->addWidget(WallPaperRB, 1, 0);
    sound->addWidget(UserImageRB, 0, 1);
    sound->addWidget(ImageEB, 2, 0);
    sound->addWidget(SelectBtn, 2, 1);
    layout->addWidget(SoundImageGB, 1, 0, 1, 2);

    connect(FullScrnCB, &QCheckBox::clicked, this, &TOptionsNotebookDlg::FullScrnCBClick);
    connect(PasswordCB, &QCheckBox::clicked, this, &TOptionsNotebookDlg::PasswordCBClick);
    connect(PasswordBtn, &QPushButton::clicked, this, &TOptionsNotebookDlg::PasswordBtnClick);
    connect(NoImageRB, &QRadioButton::clicked, this, &TOptionsNotebookDlg::NoImageRBClick);
    connect(WallPaperRB, &QRadioButton::clicked, this, &TOptionsNotebookDlg::WallPaperRBClick);
    connect(UserImageRB, &QRadioButton::clicked, this, &TOptionsNotebookDlg::UserImageRBClick);
    connect(SelectBtn, &QPushButton::clicked, this, &TOptionsNotebookDlg::SelectBtnClick);
    return page;
}

QWidget *TOptionsNotebookDlg::createManagerPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    HideCPCB =
        Named(new QCheckBox(QStringLiteral("Hide Korvid File/Directory Lists"), page), "HideCPCB");
    layout->addWidget(HideCPCB);
    ConfirmGB = Named(new QGroupBox(QStringLiteral("Confirmation Options"), page), "ConfirmGB");
    auto *confirm = new QVBoxLayout(ConfirmGB);
    DeleteConfirmCB =
        Named(new QCheckBox(QStringLiteral("Confirm File/Directory Delete"), ConfirmGB),
              "DeleteConfirmCB");
    CopyConfirmCB =
        Named(new QCheckBox(QStringLiteral("Confirm File Copy/Move"), ConfirmGB), "CopyConfirmCB");
    OverwriteCB =
        Named(new QCheckBox(QStringLiteral("Confirm File Replace"), ConfirmGB), "OverwriteCB");
    for (QCheckBox *box : {DeleteConfirmCB, CopyConfirmCB, OverwriteCB})
        confirm->addWidget(box);
    layout->addWidget(ConfirmGB);
    layout->addStretch();
    // These take effect at once; Cancel does not undo them.
    connect(HideCPCB, &QCheckBox::clicked, this,
            [this](bool on) { m_settings.HideControlPanel = on; });
    connect(DeleteConfirmCB, &QCheckBox::clicked, this,
            [this](bool on) { m_settings.ConfirmDelete = on; });
    connect(CopyConfirmCB, &QCheckBox::clicked, this,
            [this](bool on) { m_settings.ConfirmCopy = on; });
    connect(OverwriteCB, &QCheckBox::clicked, this,
            [this](bool on) { m_settings.ConfirmReplace = on; });
    return page;
}

int TOptionsNotebookDlg::PageHeight(int page)
{
    return page == VorodOdir ? TallHeight : ShortHeight;
}

int TOptionsNotebookDlg::PageHelpContext(int page)
{
    switch (page) {
    case General:
        return 109;
    case MultiMedia:
        return 110;
    case VorodOdir:
        return 111;
    case Manager:
        return 201;
    default:
        return ButtonHelpContext;
    }
}

void TOptionsNotebookDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TOptionsNotebookDlg::FormShow()
{
    const TOptionsSettings &s = m_settings;
    AutoPlayMMCB->setChecked(s.AutoStart);
    AutoRepeatMMCB->setChecked(s.AutoRepeat);
    FullScrnCB->setChecked(s.FullScreen);
    for (QCheckBox *box : {AutoPlayMMCB, AutoRepeatMMCB, FullScrnCB})
        box->setEnabled(!ShowRunning);
    ShowFileNameCB->setChecked(s.ShowFileName);
    ShowProgressCB->setChecked(s.ShowProgress);
    BottomTB->setChecked(s.BottomToolBar);
    SingleClickCB->setChecked(s.SingleClick);
    FileStatsCB->setChecked(s.ShowFileInfo);
    ShowTimeSE->setValue(s.ShowTime);
    {
        const QSignalBlocker blocker(MMScaleSB);
        MMScaleSB->setValue(s.VideoScale);
    }
    MMScaleLabel->setText(QString::number(s.VideoScale) + u'X');
    m_backGround = s.BackGround;
    m_listBackGround = s.ListBackGround;
    setPanelColor(BGColorPanel, ColorFromPlatform(m_backGround));
    setPanelColor(ListBGColorPanel, ColorFromPlatform(m_listBackGround));
    const bool fullScreen = FullScrnCB->isChecked() && FullScrnCB->isEnabled();
    PasswordCB->setChecked(s.PasswordProtect);
    PasswordCB->setEnabled(fullScreen);
    PasswordBtn->setEnabled(fullScreen && PasswordCB->isChecked() && PasswordCB->isEnabled());
    StoredPassword = s.Password;
    HideCPCB->setChecked(s.HideControlPanel);
    HideCPCB->setEnabled(!ManagerVisible);
    DeleteConfirmCB->setChecked(s.ConfirmDelete);
    CopyConfirmCB->setChecked(s.ConfirmCopy);
    OverwriteCB->setChecked(s.ConfirmReplace);
    ImageEB->setText(s.SoundImage);
    switch (s.SoundDisplay) {
    case 1:
        WallPaperRB->setChecked(true);
        SoundChoice = 1;
        break;
    case 2:
        UserImageRB->setChecked(true);
        SoundChoice = 2;
        break;
    default:
        NoImageRB->setChecked(true);
        SoundChoice = 0;
        break;
    }
    updateImageControls();
    ShowFileNameCB->setEnabled(FullScrnCB->isChecked());
    ShowProgressCB->setEnabled(FullScrnCB->isChecked());
    // Only the delete confirmation changes what a file action does.
    CopyConfirmCB->hide();
    OverwriteCB->hide();
    ConfirmGB->setFixedHeight(std::max(50, ConfirmGB->sizeHint().height()));
    OptionsTNBChange();
    CenterOnScreen(this);
}

void TOptionsNotebookDlg::OptionsTNBChange()
{
    const int page = OptionsTNB->currentIndex();
    // Only the page shown counts for the size: a short page gets a short dialog.
    for (int i = 0; i < OptionsTNB->count(); ++i)
        OptionsTNB->widget(i)->setSizePolicy(
            i == page ? QSizePolicy::Preferred : QSizePolicy::Ignored,
            i == page ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    // The size hints of the page shown before are cached until the layout is told.
    OptionsTNB->updateGeometry();
    layout()->invalidate();
    layout()->activate();
    const QSize needed = layout()->totalMinimumSize();
    setFixedSize(std::max(DialogWidth, needed.width()),
                 std::max(PageHeight(page), needed.height()));
    HelpContext = PageHelpContext(page);
}

void TOptionsNotebookDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        OpenHelpTopic(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TOptionsNotebookDlg::done(int result)
{
    // A password set in a cancelled dialog is dropped: so is the protection it switched on.
    if (result != QDialog::Accepted && m_settings.Password.isEmpty())
        m_settings.PasswordProtect = false;
    QDialog::done(result);
}

void TOptionsNotebookDlg::OKBtnClick()
{
    TOptionsSettings &s = m_settings;
    s.AutoStart = AutoPlayMMCB->isChecked();
    s.AutoRepeat = AutoRepeatMMCB->isChecked();
    s.BottomToolBar = BottomTB->isChecked();
    s.SingleClick = SingleClickCB->isChecked();
    s.ShowFileInfo = FileStatsCB->isChecked();
    s.ShowTime = ShowTimeSE->value();
    s.VideoScale = MMScaleSB->value();
    s.BackGround = m_backGround;
    s.ListBackGround = m_listBackGround;
    s.FullScreen = FullScrnCB->isChecked();
    // Protection without a password would open to an empty entry.
    s.PasswordProtect = PasswordCB->isChecked() && !StoredPassword.isEmpty();
    s.Password = StoredPassword;
    s.SoundImage = ImageEB->text();
    s.SoundDisplay = SoundChoice;
    s.ShowFileName = ShowFileNameCB->isChecked();
    s.ShowProgress = ShowProgressCB->isChecked();
    accept();
}

void TOptionsNotebookDlg::MMScaleSBChange()
{
    MMScaleLabel->setText(QString::number(MMScaleSB->value()) + u'X');
}

void TOptionsNotebookDlg::setPanelColor(QFrame *panel, const QColor &color)
{
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, color);
    panel->setPalette(colours);
}

QColor TOptionsNotebookDlg::panelColor(const QFrame *panel) const
{
    return panel->palette().color(QPalette::Window);
}

void TOptionsNotebookDlg::BGColorBtnClick(QPushButton *button)
{
    const bool image = button == BGColorBtn;
    QFrame *panel = image ? BGColorPanel : ListBGColorPanel;
    QColorDialog dialog(panelColor(panel), this);
    dialog.setObjectName(QStringLiteral("BGColorDlg"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    setPanelColor(panel, dialog.selectedColor());
    // A system colour stays one until another colour is chosen.
    (image ? m_backGround : m_listBackGround) = PlatformFromColor(dialog.selectedColor());
}

void TOptionsNotebookDlg::FullScrnCBClick()
{
    const bool fullScreen = FullScrnCB->isChecked();
    PasswordCB->setEnabled(fullScreen);
    PasswordBtn->setEnabled(fullScreen && PasswordCB->isChecked());
    ShowFileNameCB->setEnabled(fullScreen);
    ShowProgressCB->setEnabled(fullScreen);
}

void TOptionsNotebookDlg::setPassword()
{
    TSetPWDlg dialog(this);
    dialog.StoredPassword = StoredPassword;
    m_settings.PasswordProtect = dialog.SetNewPassword();
    if (m_settings.PasswordProtect)
        StoredPassword = dialog.StoredPassword;
}

void TOptionsNotebookDlg::PasswordCBClick()
{
    if (PasswordCB->isChecked() && m_settings.Password.isEmpty()) {
        setPassword();
        PasswordCB->setChecked(m_settings.PasswordProtect);
    }
    PasswordBtn->setEnabled(PasswordCB->isChecked());
}

void TOptionsNotebookDlg::PasswordBtnClick()
{
    if (m_settings.Password.isEmpty()) {
        setPassword();
        return;
    }
    TVerifyPWDlg verify(this);
    verify.StoredPassword = StoredPassword;
    if (verify.VerifyPassword()) {
        setPassword();
        return;
    }
    MessageDlg(this, QStringLiteral("Password Error"), QStringLiteral("Invalid Password Entered"),
               QMessageBox::Warning, QMessageBox::Ok);
}

void TOptionsNotebookDlg::updateImageControls()
{
    ImageEB->setEnabled(UserImageRB->isChecked());
    SelectBtn->setEnabled(UserImageRB->isChecked());
}

void TOptionsNotebookDlg::NoImageRBClick()
{
    SoundChoice = 0;
    updateImageControls();
}

void TOptionsNotebookDlg::WallPaperRBClick()
{
    SoundChoice = 1;
    updateImageControls();
}

void TOptionsNotebookDlg::UserImageRBClick()
{
    SoundChoice = 2;
    updateImageControls();
}

void TOptionsNotebookDlg::SelectBtnClick()
{
    if (!BrowseImage)
        return;
    const QString text = ImageEB->text();
    const qsizetype cut = std::max(text.lastIndexOf(u'/'), text.lastIndexOf(u':'));
    const QString chosen = BrowseImage(ImageFilter, text.left(cut + 1), text);
    if (!chosen.isEmpty())
        ImageEB->setText(chosen);
}
