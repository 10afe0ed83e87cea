// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

#include <memory>

#include "app/Main.h"
#include "toolkit/TFileListBox.h"

// The main window created with these command-line arguments, shown and exposed, its file
// list read.
inline std::unique_ptr<TKorvidForm> shownForm(const QStringList &arguments = {})
{
    auto form = std::make_unique<TKorvidForm>(arguments);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("main window not exposed");
    if (!QTest::qWaitFor([&form] { return !form->FileListBox1->isLoading(); }, 20000))
        qWarning("the file list was not read in time");
    return form;
}
