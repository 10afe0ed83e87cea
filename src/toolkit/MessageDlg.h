// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>

#include <functional>

// Title the application goes by in its own messages.
inline const QString ApplicationTitle = QStringLiteral("Korvid MultiMedia Browser");

// Every message box of the program goes through MessageDlg, so that a test can answer it
// with a script instead of a modal loop.
struct MessageDlgCall
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

using MessageDlgScript = std::function<QMessageBox::StandardButton(const MessageDlgCall &)>;

QMessageBox::StandardButton MessageDlg(QWidget *parent, const QString &caption, const QString &text,
                                       QMessageBox::Icon icon,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Replaces the modal loop of every later MessageDlg; an empty script restores it.
void SetMessageDlgScript(MessageDlgScript script);
