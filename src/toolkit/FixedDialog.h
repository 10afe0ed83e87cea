// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;

// A dialog of fixed size whose frame offers only the close button: the size is the one its
// layout asks for (or the one already fixed when it has no layout), and the window manager
// is asked for no minimise, maximise or resize. Call once the dialog's layout is built.
void MakeFixedDialog(QDialog *dialog);
