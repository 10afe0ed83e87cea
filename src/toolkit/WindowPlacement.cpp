// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// Enough of a title bar to take hold of it with the pointer.
constexpr int GrabWidth = 48;

} // namespace

bool TitleOnAnyScreen(const QRect &bounds)
{
    const QRect title(bounds.topLeft(), QSize(std::max(bounds.width(), 1), 1));
    const int needed = std::min(GrabWidth, title.width());
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen *screen) {
        return screen->availableGeometry().intersected(title).width() >= needed;
    });
}

void PlaceWindow(QWidget *window, const QRect &bounds)
{
    window->resize(bounds.size());
    if (!TitleOnAnyScreen(bounds)) {
        CenterOnScreen(window);
        return;
    }
    // A window that exists already takes a move as its inside's place; its frame is what the
    // user saw and what was remembered.
    if (QWindow *handle = window->windowHandle()) {
        handle->setFramePosition(bounds.topLeft());
        // The place is the program's, not one for a dialog to choose by itself.
        window->setAttribute(Qt::WA_Moved);
    } else {
        window->move(bounds.topLeft());
    }
}

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
