// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TitleBar.h"

#include <QWindow>

#include <array>
#include <cstdlib>
#include <cstring>

#include "platform/X11Connection.h"

namespace {

// The Motif window-manager hints, which every X11 window manager reads.
constexpr quint32 HintFunctions = 1u << 0;
constexpr quint32 HintDecorations = 1u << 1;
constexpr quint32 FunctionMove = 1u << 2;
constexpr quint32 DecorationBorder = 1u << 1;

} // namespace

void ShowWithoutTitleButtons(QWindow *window)
{
    xcb_connection_t *c = X11Connection();
    if (!c || !window)
        return;
    static constexpr char Name[] = "_MOTIF_WM_HINTS";
    auto *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(Name), Name), nullptr);
    if (!atom)
        return;
    // A border and no title: window managers that draw a title bar whenever there is one
    // would put their buttons on it; those that honour the functions draw none.
    const std::array<quint32, 5> hints = {HintFunctions | HintDecorations, FunctionMove,
                                          DecorationBorder, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), atom->atom,
                        atom->atom, 32, hints.size(), hints.data());
    xcb_flush(c);
    free(atom);
}
