// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Looks shared by the password dialogs: a fixed, centred dialog kept on top, 236 pixels
// wide, in a bold 8-point font.
void StylePasswordDialog(QDialog *dialog);
// An edit for up to 20 characters showing "*" for each.
QLineEdit *PasswordEdit(QWidget *parent, const char *name);

// A prompt with one password edit and OK and Cancel buttons; the verify and check
// dialogs are made of it.
class TPasswordPrompt : public QDialog
{
    Q_OBJECT
public:
    TPasswordPrompt(const QString &label, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *PasswordEB;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    // Empties the edit and focuses it.
    void showEvent(QShowEvent *event) override;
};
