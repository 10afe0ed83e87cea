// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file or folder name as the lists and captions show it: a control character (a newline
// or a tab in a name) becomes its visible mark from Unicode's control pictures, so that a
// name never breaks a line or hides a character. Only for showing: paths keep the real name.
QString ShownName(const QString &name);
