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
    if (HoldInput)
        m_grab.grab(this);
}

void TCheckPWDlg::done(int)
{
    // The hold is not let go here: the caller's window takes it over without a gap.
    QDialog::done(PasswordMatches(PasswordEB->text(), Password) ? Accepted : Rejected);
    lower();
}
