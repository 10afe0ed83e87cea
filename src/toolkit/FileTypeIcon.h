// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// The desktop icon theme's picture for the type of the file of this name, judged by its
// extension as file managers do: the type's own icon, else its group's (pictures, sounds,
// videos), else the style's plain file.
QIcon FileTypeIcon(const QString &fileName);
