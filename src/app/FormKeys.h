// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a key pressed in the main window does before the focused control sees it.
enum TFormKeyAction {
    fkPassOn,       // nothing; the control gets the key
    fkDiscard,      // swallowed while a file opens
    fkStopShow,     // Esc during a VorodOdir
    fkPauseShow,    // Space
    fkNormal,       // F2
    fkProportional, // F3
    fkFull          // F4
};

// key is a Qt::Key value. PasswordProtect keeps Space and F2 to F4 from working; Esc
// still stops a running VorodOdir.
TFormKeyAction FormKeyAction(int key, bool showRunning, bool opening, bool passwordProtect);
