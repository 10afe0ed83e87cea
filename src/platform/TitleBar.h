// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWindow;

// Asks the window manager for a frame with no caption and no buttons (no close, minimise,
// maximise or window menu); the window can still be moved. The toolkit's own flags cannot
// say this to every window manager: some keep all buttons as long as there is a title bar.
// Call after the window is created and before it is shown.
void ShowWithoutTitleButtons(QWindow *window);
