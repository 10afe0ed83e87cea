// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

#include <memory>

#include "app/Main.h"

// The main window created with these command-line arguments, shown and exposed.
inline std::unique_ptr<TKorvidForm> shownForm(const QStringList &arguments = {})
{
    auto form = std::make_unique<TKorvidForm>(arguments);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("main window not exposed");
    return form;
}
