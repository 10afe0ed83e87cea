// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Newren.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "toolkit/MessageDlg.h"

namespace {

constexpr QSize ClientSize(400, 137);
constexpr int LineWidth = 385;

bool endsWithSeparator(const QString &path)
{
    return path.endsWith(u'/') || path.endsWith(QDir::separator());
}

// A root ("/", "C:/" or "C:\") keeps its separator; nothing shorter than a root is cut.
bool isRoot(const QString &path)
{
    return QDir(path).isRoot() || path.size() <= 3;
}

// Why a typed name cannot be used as one entry of the folder; empty when it can. A
// separator would move the file elsewhere, "." and ".." name folders that already exist.
QString refusal(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Please enter a name.");
    if (name == u'.' || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" cannot be used as a name.").arg(name);
    if (name.contains(u'/') || name.contains(QChar(0)))
        return QStringLiteral("A name cannot contain \"/\": \"%1\"").arg(name);
    return {};
}

} // namespace

TNewRenDlg::TNewRenDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("NewRenDlg"));
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(8);
    setFont(bold);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumSize(ClientSize);
    resize(ClientSize);

    auto *layout = new QVBoxLayout(this);
    Comment = new QLabel(this);
    Comment->setObjectName(QStringLiteral("Comment"));
    OldName = new QLabel(this);
    OldName->setObjectName(QStringLiteral("OldName"));
    NewName = new QLineEdit(this);
    NewName->setObjectName(QStringLiteral("NewName"));
    for (QWidget *w : {static_cast<QWidget *>(Comment), static_cast<QWidget *>(OldName),
                       static_cast<QWidget *>(NewName)}) {
        w->setMinimumWidth(LineWidth);
        layout->addWidget(w);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    HelpBtn = new QPushButton(QStringLiteral("&Help"), this);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    for (QPushButton *b : {OKBtn, CancelBtn, HelpBtn})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    NewName->installEventFilter(this);
    connect(OKBtn, &QPushButton::clicked, this, &TNewRenDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TNewRenDlg::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

bool TNewRenDlg::eventFilter(QObject *watched, QEvent *event)
{
    // The extension offered for a new file name is not selected, so typing goes before it.
    if (watched == NewName && event->type() == QEvent::FocusIn && Mode == nrRenameFile)
        QTimer::singleShot(0, NewName, [this] {
            NewName->deselect();
            NewName->setCursorPosition(0);
        });
    return false;
}

void TNewRenDlg::splitOldName()
{
    // Only the separator splits: on this system a colon is an ordinary character of names.
    const QString native = QDir::fromNativeSeparators(OldFileName);
    const qsizetype cut = native.lastIndexOf(u'/');
    NamePart = native.mid(cut + 1);
    PathPart = native.left(cut + 1);
}

void TNewRenDlg::FormShow()
{
    HelpBtn->hide();
    NewName->clear();
    switch (Mode) {
    case nrRenameFile: {
        setWindowTitle(QStringLiteral("Rename File"));
        splitOldName();
        Comment->clear();
        OldName->setText(QStringLiteral("Rename %1 to ").arg(NamePart));
        const QString suffix = QFileInfo(OldFileName).suffix();
        NewName->setText(suffix.isEmpty() ? QString() : u'.' + suffix);
        NewName->deselect();
        NewName->setCursorPosition(0);
        break;
    }
    case nrNewDir:
        setWindowTitle(QStringLiteral("Create New Directory"));
        Comment->setText(
            QStringLiteral("Create subdirectory of %1").arg(QDir::toNativeSeparators(OldFileName)));
        OldName->setText(QStringLiteral("Please enter new directory name:"));
        break;
    case nrRenameDir:
        setWindowTitle(QStringLiteral("Rename Directory"));
        if (endsWithSeparator(OldFileName) && !isRoot(OldFileName))
            OldFileName.chop(1);
        splitOldName();
        Comment->clear();
        OldName->setText(QStringLiteral("Rename directory %1 to ").arg(NamePart));
        NewName->setText(NamePart);
        NewName->selectAll();
        break;
    default:
        break;
    }
    NewName->setFocus();
}

// A name starting with "." is a hidden file here: it vanishes from the lists, so that takes
// a yes.
bool TNewRenDlg::nameAccepted()
{
    const QString name = NewName->text();
    const QString why = refusal(name);
    if (!why.isEmpty()) {
        MessageDlg(this, windowTitle(), why, QMessageBox::Warning);
        NewName->setFocus();
        return false;
    }
    if (name.startsWith(u'.')
        && MessageDlg(this, windowTitle(),
                      QStringLiteral("A name that starts with \".\" makes \"%1\" hidden: the "
                                     "lists of files do not show it.\n\nUse this name anyway?")
                          .arg(name),
                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
               != QMessageBox::Yes) {
        NewName->setFocus();
        return false;
    }
    return true;
}

void TNewRenDlg::OKBtnClick()
{
    if (!nameAccepted())
        return;
    switch (Mode) {
    case nrRenameFile:
    case nrRenameDir: {
        NewFileName = PathPart;
        if (!endsWithSeparator(NewFileName) && !NewFileName.isEmpty())
            NewFileName += u'/';
        NewFileName += NewName->text();
        // Never over an existing file or folder: a rename must not destroy anything.
        const bool ok = !QFileInfo::exists(NewFileName) && QDir().rename(OldFileName, NewFileName);
        if (ok) {
            accept();
        } else if (Mode == nrRenameFile) {
            MessageDlg(this, QStringLiteral("Error"), QStringLiteral("Unable to rename file!"),
                       QMessageBox::Information);
            NewFileName.clear();
            NewName->setFocus();
        } else {
            MessageDlg(this, ApplicationTitle, QStringLiteral("Unable to rename directory"),
                       QMessageBox::Warning);
        }
        break;
    }
    case nrNewDir: {
        if (!endsWithSeparator(OldFileName))
            OldFileName += u'/';
        const QString path = OldFileName + NewName->text();
        if (!QFileInfo::exists(path) && QDir().mkdir(path)) {
            NewFileName = path;
            accept();
        } else {
            MessageDlg(this, ApplicationTitle, QStringLiteral("Cannot create directory"),
                       QMessageBox::Warning);
            NewName->setFocus();
        }
        break;
    }
    default:
        accept();
        break;
    }
}
