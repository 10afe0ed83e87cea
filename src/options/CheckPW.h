// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options/PasswordPrompt.h"

// The check-password prompt that guards stopping a protected show: its result is
// Accepted exactly when the entry matches Password, whichever button closed it. It has no
// caption and no title-bar buttons: there is nothing to do here but answer.
class TCheckPWDlg : public TPasswordPrompt
{
    Q_OBJECT
public:
    explicit TCheckPWDlg(QWidget *parent = nullptr);

    // The stored form of the password in force.
    QString Password;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
};
