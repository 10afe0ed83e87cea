// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The splash form shown while the program (or the file manager) starts: a borderless,
// always-on-top picture of 196 by 189 pixels in a raised panel, centred on the screen.
class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    explicit TSplashForm(QWidget *parent = nullptr);

    // Shows the form and paints it at once, before the caller's long work starts.
    void ShowNow();
};
