// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every result goes through here, so one that could not be measured is never just absent
// from the output: it is named with its reason, and the program ends with a failure.
// Lines on standard output: "ratio NAME VALUE" or "value NAME VALUE [UNIT]".
void ReportRatio(const char *name, double value);
void ReportValue(const char *name, double value, int decimals, const char *unit = "");
// The result could not be measured; said on standard error at once and again at the end.
void ReportMissing(const char *name, const QString &reason);

// Repeats what could not be measured; 0 when everything was, 1 otherwise.
int ReportExitStatus();
