// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include "toolkit/MessageDlg.h"

// Answers every later message box with answer instead of a modal loop and keeps what each
// said, in order, in into (which must outlive the script; SetMessageDlgScript({}) ends it).
inline void RecordMessages(QList<MessageDlgCall> &into,
                           QMessageBox::StandardButton answer = QMessageBox::Ok)
{
    SetMessageDlgScript([&into, answer](const MessageDlgCall &call) {
        into.append(call);
        return answer;
    });
}
