// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;
class TFileOperation;

// Runs a copy or move on a worker thread under a progress window that shows the file and
// the share done and can be cancelled; the window keeps answering throughout. Returns when
// the operation has ended.
void RunWithProgress(TFileOperation &operation, const QString &title, QWidget *parent);
