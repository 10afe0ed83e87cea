// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file or folder name as the lists and captions show it: a control character (a newline
// or a tab in a name) is written as its C escape ("\n", "\t", "\r", else "\x1B"), so that
// a name never breaks a line or hides a character. The desktop's usual fonts have no
// glyphs for Unicode's control pictures, which would show as empty boxes. Only for
// showing: paths keep the real name.
QString ShownName(const QString &name);
