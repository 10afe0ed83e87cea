// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options/PasswordPrompt.h"
#include "toolkit/InputGrab.h"

// The check-password prompt that guards stopping a protected show: its result is
// Accepted exactly when the entry matches Password, whichever button closed it.
class TCheckPWDlg : public TPasswordPrompt
{
    Q_OBJECT
public:
    explicit TCheckPWDlg(QWidget *parent = nullptr);

    // The stored form of the password in force.
    QString Password;
    // While asking, no key or click reaches any other window (a locked show); whoever
    // asked takes the hold back afterwards.
    bool HoldInput = false;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    InputGrab m_grab;
};
