// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/CheckPW.h"

#include <QLineEdit>

#include "options/Scramble.h"

TCheckPWDlg::TCheckPWDlg(QWidget *parent)
    : TPasswordPrompt(QStringLiteral("Enter password:"), parent)
{
    setObjectName(QStringLiteral("CheckPWDlg"));
    // No caption and no title-bar buttons: there is nothing to do here but answer.
    setWindowTitle(QString());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowStaysOnTopHint);
}

void TCheckPWDlg::showEvent(QShowEvent *event)
{
    TPasswordPrompt::showEvent(event);
    raise();
    activateWindow();
}

void TCheckPWDlg::done(int)
{
    QDialog::done(PasswordMatches(PasswordEB->text(), Password) ? Accepted : Rejected);
    lower();
}
