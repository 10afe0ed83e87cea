// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int WindowStateCode(const QWidget *window)
{
    if (window->isMinimized())
        return 1;
    return window->isMaximized() || window->isFullScreen() ? 2 : 0;
}

void SetWindowStateCode(QWidget *window, int code)
{
    window->setWindowState(code == 1   ? Qt::WindowMinimized
                           : code == 2 ? Qt::WindowMaximized
                                       : Qt::WindowNoState);
}

void CenterOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
