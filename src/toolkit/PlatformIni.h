// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// platform.ini in the configuration folder lets the user (and tests) override what the
// program would otherwise ask the desktop, such as [Desktop] Wallpaper=.
// Returns def when the file or the key is missing.
QString PlatformIniValue(const QString &section, const QString &key, const QString &def = {});
