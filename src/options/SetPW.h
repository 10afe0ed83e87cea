// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Set Password": the new password twice. A mismatch or an empty entry is refused and
// the dialog stays open with empty fields; Cancel or Esc always closes it.
class TSetPWDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSetPWDlg(QWidget *parent = nullptr);

    // Shows the dialog; whether it stored a new password in StoredPassword.
    bool SetNewPassword();

    // Receives the stored form of the new password.
    QString StoredPassword;
    bool PasswordSet = false;
    bool CloseAllowed = false;

    QLabel *Label1;
    QLineEdit *PasswordEB1;
    QLineEdit *PasswordEB2;
    QLabel *Label2;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

    void OKBtnClick();
    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void emptyEdits();
};
