// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TitleBar.h"

// Elsewhere the toolkit's window flags are all there is.
void ShowWithoutTitleButtons(QWindow *) {}
