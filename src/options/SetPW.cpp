// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/SetPW.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "options/PasswordPrompt.h"
#include "options/Scramble.h"
#include "toolkit/FixedDialog.h"
#include "toolkit/MessageDlg.h"

TSetPWDlg::TSetPWDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SetPWDlg"));
    setWindowTitle(QStringLiteral("Set Password"));
    StylePasswordDialog(this);
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Enter new password:"), this);
    PasswordEB1 = PasswordEdit(this, "PasswordEB1");
    PasswordEB2 = PasswordEdit(this, "PasswordEB2");
    Label1->setBuddy(PasswordEB1);
    Label2 = new QLabel(QStringLiteral("Please enter your new password twice to verify that it "
                                       "has been entered correctly.  20 Characters or less."),
                        this);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::ActionRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TSetPWDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TSetPWDlg::reject);
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(PasswordEB1),
                       static_cast<QWidget *>(PasswordEB2), static_cast<QWidget *>(Label2),
                       static_cast<QWidget *>(buttons)})
        layout->addWidget(w);
    // The dialog's width is fixed, so the wrapped explanation gets the height its lines
    // need at that width; the layout alone would give it one guess and clip the rest.
    const QMargins margins = layout->contentsMargins();
    Label2->setMinimumHeight(Label2->heightForWidth(width() - margins.left() - margins.right()));
    MakeFixedDialog(this);
}

bool TSetPWDlg::SetNewPassword()
{
    PasswordSet = false;
    exec();
    return PasswordSet;
}

void TSetPWDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    emptyEdits();
}

void TSetPWDlg::emptyEdits()
{
    PasswordEB1->clear();
    PasswordEB2->clear();
    PasswordEB1->setFocus();
}

void TSetPWDlg::OKBtnClick()
{
    const QString first = PasswordEB1->text();
    if (!first.isEmpty() && first == PasswordEB2->text()) {
        StoredPassword = ScramblePassword(first);
        PasswordSet = CloseAllowed = true;
    } else {
        MessageDlg(this, QStringLiteral("Password Error"),
                   QStringLiteral("You entered an invalid password."), QMessageBox::Warning);
        PasswordSet = CloseAllowed = false;
    }
    done(Accepted);
}

void TSetPWDlg::reject()
{
    CloseAllowed = true;
    QDialog::reject();
}

void TSetPWDlg::done(int result)
{
    if (CloseAllowed || !isVisible()) {
        QDialog::done(result);
        return;
    }
    emptyEdits();
}
