// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/MessageDlg.h"

namespace {

MessageDlgScript &script()
{
    static MessageDlgScript s;
    return s;
}

} // namespace

QMessageBox::StandardButton MessageDlg(QWidget *parent, const QString &caption, const QString &text,
                                       QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    if (script())
        return script()({caption, text, icon, buttons});
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageDlgScript(MessageDlgScript s)
{
    script() = std::move(s);
}
