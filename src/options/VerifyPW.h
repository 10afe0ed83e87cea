// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options/PasswordPrompt.h"

// "Verify Password": asks for the current password before it may be changed.
class TVerifyPWDlg : public TPasswordPrompt
{
    Q_OBJECT
public:
    explicit TVerifyPWDlg(QWidget *parent = nullptr);

    // The stored form to compare with (the options dialog's working copy).
    QString StoredPassword;

    // Shows the dialog; whichever button closed it, whether the entry matches.
    bool VerifyPassword();
};
