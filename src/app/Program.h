// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program: answers --help and --version, or starts the browser and runs it until its
// main window closes. Returns the process exit code.
int KorvidMain(int argc, char **argv);
