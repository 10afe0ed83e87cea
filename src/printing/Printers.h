// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPrinter;
class QWidget;

// The application's current printer: what the printer setup chose (the system's default
// printer at first), measured and printed to by every print of the session.
QPrinter *Printer();

// Why the printer cannot take a job; empty when it can.
QString PrinterProblem(const QPrinter &printer);

// The printer setup dialog over the current printer: the printer, paper and orientation
// chosen stay for the next print. True when the user confirmed.
bool RunPrinterSetup(QWidget *parent);
