// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>

// Gives a new control or action its name (the name the program and its tests find it by)
// and hands it back, so it can be named where it is made.
template<typename T> T *Named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}
