// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/VerifyPW.h"

#include <QLineEdit>

#include "options/Scramble.h"

TVerifyPWDlg::TVerifyPWDlg(QWidget *parent)
    : TPasswordPrompt(QStringLiteral("Enter current password:"), parent)
{
    setObjectName(QStringLiteral("VerifyPWDlg"));
    setWindowTitle(QStringLiteral("Verify Password"));
}

bool TVerifyPWDlg::VerifyPassword()
{
    exec();
    return PasswordMatches(PasswordEB->text(), StoredPassword);
}
