// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/CheckPW.h"

#include <QLineEdit>
#include <QWindow>

#include "options/Scramble.h"
#include "platform/TitleBar.h"

TCheckPWDlg::TCheckPWDlg(QWidget *parent)
    : TPasswordPrompt(QStringLiteral("Enter password:"), parent)
{
    setObjectName(QStringLiteral("CheckPWDlg"));
    // A title of one space: an empty one makes the toolkit show the program's file name.
    setWindowTitle(QStringLiteral(" "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowStaysOnTopHint);
    // A context menu would take the keyboard for itself and, closing, let go of the
    // locked show's hold.
    PasswordEB->setContextMenuPolicy(Qt::NoContextMenu);
}

void TCheckPWDlg::showEvent(QShowEvent *event)
{
    TPasswordPrompt::showEvent(event);
    ShowWithoutTitleButtons(windowHandle());
    raise();
    activateWindow();
}

void TCheckPWDlg::done(int)
{
    QDialog::done(PasswordMatches(PasswordEB->text(), Password) ? Accepted : Rejected);
    lower();
}
