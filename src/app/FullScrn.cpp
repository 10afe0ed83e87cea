// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FullScrn.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Main.h"
#include "platform/InputLock.h"
#include "platform/Platform.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/PlatformColor.h"

namespace {

constexpr int FileNameHeight = 20;
constexpr int ProgressHeight = 2;

void paintBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

QString ShowWithoutLockText(const QString &why)
{
    return QStringLiteral("This session cannot lock the screen: %1\n\nThe show runs, and "
                          "stopping it asks for the password, but anyone at the keyboard can "
                          "switch to other programs.")
        .arg(why);
}

qint32 ContrastColor(qint32 color)
{
    const auto value = static_cast<quint32>(color);
    quint32 result = value & 0xFF000000u;
    for (const int shift : {0, 8, 16}) {
        const quint32 channel = (value >> shift) & 0xFF;
        result |= quint32(channel > 0x7F ? 0 : 0xFF) << shift;
    }
    return static_cast<qint32>(result);
}

TThinGauge::TThinGauge(QWidget *parent)
    : QWidget(parent)
    , ForeColor(0, 0, 128)
    , BackColor(Qt::black)
{}

void TThinGauge::setProgress(int percent)
{
    m_progress = qBound(0, percent, 100);
    update();
}

void TThinGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), BackColor);
    painter.fillRect(QRect(0, 0, width() * m_progress / 100, height()), ForeColor);
}

TFullScrn1::TFullScrn1(TKorvidForm *owner)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_owner(owner)
    , m_lock(new InputLock(this))
{
    setObjectName(QStringLiteral("FullScrn1"));
    setWindowTitle(ApplicationTitle);
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    DisplayArea = new QWidget(this);
    DisplayArea->setObjectName(QStringLiteral("DisplayArea"));
    m_displayLayout = new QVBoxLayout(DisplayArea);
    m_displayLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DisplayArea, 1);

    FileNamePanel = new QWidget(this);
    FileNamePanel->setObjectName(QStringLiteral("FileNamePanel"));
    FileNamePanel->setFixedHeight(FileNameHeight);
    auto *nameLayout = new QVBoxLayout(FileNamePanel);
    nameLayout->setContentsMargins(0, 0, 0, 0);
    FileNameLabel = new QLabel(FileNamePanel);
    FileNameLabel->setObjectName(QStringLiteral("FileNameLabel"));
    FileNameLabel->setAlignment(Qt::AlignCenter);
    QFont bold = FileNameLabel->font();
    bold.setBold(true);
    FileNameLabel->setFont(bold);
    nameLayout->addWidget(FileNameLabel);
    FileNamePanel->hide();
    layout->addWidget(FileNamePanel);

    // The progress line lies at the very bottom, the file name just above it.
    ProgressPanel = new QWidget(this);
    ProgressPanel->setObjectName(QStringLiteral("ProgressPanel"));
    ProgressPanel->setFixedHeight(ProgressHeight);
    Gauge1 = new TThinGauge(ProgressPanel);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(0, 0, 0, 1);
    ProgressPanel->hide();
    ProgressPanel->installEventFilter(this);
    layout->addWidget(ProgressPanel);
    connect(m_lock, &InputLock::refused, this, &TFullScrn1::LockRefused);
}

TFullScrn1::~TFullScrn1()
{
    if (isVisible())
        FormClose();
}

bool TFullScrn1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ProgressPanel && event->type() == QEvent::Resize)
        Gauge1->setGeometry(0, 0, ProgressPanel->width(), 1);
    return false;
}

bool TFullScrn1::ShowIt(bool show)
{
    const bool was = !FileNamePanel->isHidden();
    FileNamePanel->setVisible(show);
    return was;
}

void TFullScrn1::Lend(QWidget *display)
{
    m_displayLayout->addWidget(display);
    display->show();
}

void TFullScrn1::GiveBack(QWidget *display)
{
    m_displayLayout->removeWidget(display);
}

void TFullScrn1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Spontaneous shows and hides come from the window manager (iconified, restored): the
    // show and its lock go on, and the lock brings the view back.
    if (!event->spontaneous())
        FormShow();
}

void TFullScrn1::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        FormClose();
    QWidget::hideEvent(event);
}

void TFullScrn1::FormShow()
{
    raise();
    activateWindow();
    const QScreen *screen = m_owner->screen();
    if (screen)
        setGeometry(screen->geometry());
    if (!m_pointerHidden) {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        m_pointerHidden = true;
    }
    if (!m_inhibitCookie)
        m_inhibitCookie = InhibitScreenSaver(QStringLiteral("VorodOdir full-screen show"));

    const QColor background = ColorFromPlatform(m_owner->BackGround);
    const QColor contrast = ColorFromPlatform(ContrastColor(m_owner->BackGround));
    for (QWidget *w : {static_cast<QWidget *>(this), DisplayArea, FileNamePanel, ProgressPanel})
        paintBackground(w, background);
    QPalette labelColours = FileNameLabel->palette();
    labelColours.setColor(QPalette::WindowText, contrast);
    FileNameLabel->setPalette(labelColours);
    Gauge1->BackColor = background;
    Gauge1->ForeColor = contrast;
    ProgressPanel->setVisible(ShowProgressLine);
    FileNamePanel->setVisible(ShowFileNameLine);
    setFocus();
    if (m_owner->PasswordProtect)
        StartLock();
}

void TFullScrn1::FormClose()
{
    EndLock();
    if (m_pointerHidden) {
        QGuiApplication::restoreOverrideCursor();
        m_pointerHidden = false;
    }
    if (m_inhibitCookie) {
        ReleaseScreenSaver(m_inhibitCookie);
        m_inhibitCookie = 0;
    }
}

// The hold lasts from the showing of the view to its closing, through every password
// prompt: the prompt gets its keys within the hold, so nothing is let go on the way.
void TFullScrn1::StartLock()
{
    m_locked = true;
    m_refusalShown = false;
    if (!m_lock->hold(windowHandle()) && InputLock::Unavailable().isEmpty())
        LockRefused(QStringLiteral("the display gave no way to hold the keyboard."));
}

void TFullScrn1::EndLock()
{
    if (!m_locked)
        return;
    m_lock->release();
    m_locked = false;
}

// A session that cannot lock at all was told of when the show started; this is a display
// that refused the hold now.
void TFullScrn1::LockRefused(const QString &why)
{
    if (m_refusalShown || !isVisible())
        return;
    m_refusalShown = true;
    MessageDlg(this, ApplicationTitle, ShowWithoutLockText(why), QMessageBox::Warning);
    setFocus();
}

bool TFullScrn1::Holding() const
{
    return m_lock->holding();
}

// Closed from outside (the window manager): the show ends as by a key, so the main window
// never stays hidden behind a closed view.
void TFullScrn1::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!m_owner->ShowRunning)
        hide();
    else if (!m_owner->PasswordProtect || m_owner->CheckPassword(this))
        m_owner->SlideShowStop();
}

void TFullScrn1::keyPressEvent(QKeyEvent *event)
{
    FormKeyDown(event);
}

void TFullScrn1::FormKeyDown(QKeyEvent *event)
{
    const bool locked = m_owner->PasswordProtect;
    const int key = event->key();
    if (!locked && key == Qt::Key_Space) {
        m_owner->SlideShowPause();
    } else if (!locked && key == Qt::Key_F2) {
        m_owner->NoneSBtn->setChecked(true);
        m_owner->NoneSBtnClick();
    } else if (!locked && key == Qt::Key_F3) {
        m_owner->ProportionalSBtn->setChecked(true);
        m_owner->ProportionalSBtnClick();
    } else if (!locked && key == Qt::Key_F4) {
        m_owner->FullSBtn->setChecked(true);
        m_owner->FullSBtnClick();
    } else if (locked) {
        if (m_owner->CheckPassword(this))
            m_owner->SlideShowStop();
        else
            m_owner->ShowPaused = false;
        setFocus();
    } else {
        m_owner->SlideShowStop();
    }
    event->accept();
}
