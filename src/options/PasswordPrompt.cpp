// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/PasswordPrompt.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "toolkit/FixedDialog.h"

namespace {

constexpr int ClientWidth = 236;
constexpr int MaxPasswordLength = 20;

} // namespace

void StylePasswordDialog(QDialog *dialog)
{
    QFont font = dialog->font();
    font.setBold(true);
    font.setPointSize(8);
    dialog->setFont(font);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setFixedWidth(ClientWidth);
    dialog->setModal(true);
}

QLineEdit *PasswordEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(MaxPasswordLength);
    edit->setEchoMode(QLineEdit::Password);
    // Shown as asterisks, like every password field of the program.
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return edit;
}

TPasswordPrompt::TPasswordPrompt(const QString &label, QWidget *parent)
    : QDialog(parent)
{
    StylePasswordDialog(this);
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(label, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PasswordEB = PasswordEdit(this, "PasswordEB");
    Label1->setBuddy(PasswordEB);
    auto *buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(Label1);
    layout->addWidget(PasswordEB);
    layout->addWidget(buttons);
    MakeFixedDialog(this);
}

void TPasswordPrompt::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    PasswordEB->clear();
    PasswordEB->setFocus();
}
