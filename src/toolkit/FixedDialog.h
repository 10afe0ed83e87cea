// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>

class QDialog;
class QWidget;

// Undoes at once a window manager's switch of window into any of these states: some draw
// minimise and maximise buttons on every frame, whatever the window asks for.
void RefuseWindowStates(QWidget *window, Qt::WindowStates states);

// A dialog of fixed size whose frame offers only the close button: the size is the one its
// layout asks for (or the one already fixed when it has no layout), and the window manager
// is asked for no minimise, maximise or resize, and a window manager that does either all
// the same gets it back at once: a modal dialog out of sight would leave the program waiting
// for an answer nobody can give. Call once the dialog's layout is built.
void MakeFixedDialog(QDialog *dialog);
