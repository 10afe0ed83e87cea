// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Bookmark Edit": a bookmark's name and path, up to 255 characters each, taken as typed.
class TBMEditDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TBMEditDlg(QWidget *parent = nullptr);

    void setFields(const QString &name, const QString &path);
    QString Name() const;
    QString Path() const;

    QLabel *NameLabel;
    QLineEdit *NameEB;
    QLabel *PathLabel;
    QLineEdit *PathEB;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QPushButton *HelpBtn;

protected:
    void showEvent(QShowEvent *event) override;
};
