// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormKeys.h"

#include <Qt>

TFormKeyAction FormKeyAction(int key, bool showRunning, bool opening, bool passwordProtect)
{
    if (!showRunning && opening)
        return fkDiscard;
    if (key == Qt::Key_Escape)
        return showRunning ? fkStopShow : fkPassOn;
    if (passwordProtect)
        return fkPassOn;
    switch (key) {
    case Qt::Key_Space:
        return fkPauseShow;
    case Qt::Key_F2:
        return fkNormal;
    case Qt::Key_F3:
        return fkProportional;
    case Qt::Key_F4:
        return fkFull;
    default:
        return fkPassOn;
    }
}
