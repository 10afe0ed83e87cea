// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Modes of the new-directory and rename dialog.
enum TNewRenMode { nrRenameFile = 3001, nrNewDir = 3002, nrRenameDir = 3003 };

// One small dialog that renames a file, creates a subdirectory or renames a directory
// itself when OK is pressed. A failure is reported and the dialog stays open with the
// typed text, as does a name that is not one entry of the folder (a separator, "." or
// ".."), and a name that would hide the file unless the user says yes; Cancel changes
// nothing. The caller sets Mode and OldFileName, runs it, and
// on Accepted reads NewFileName.
class TNewRenDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TNewRenDlg(QWidget *parent = nullptr);

    int Mode = nrRenameFile;
    QString OldFileName;
    QString NewFileName;
    QString NamePart;
    QString PathPart;

    QLabel *Comment;
    QLabel *OldName;
    QLineEdit *NewName;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QPushButton *HelpBtn;

    void FormShow();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void splitOldName();
    bool nameAccepted();
};
