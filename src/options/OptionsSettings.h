// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "toolkit/PlatformColor.h"

// The settings the options dialog edits, each named after its key in KORVID.INI and
// starting at its default. The main window's settings derive from these, so the dialog
// writes straight into the window's fields.
struct TOptionsSettings
{
    bool AutoStart = true;
    bool AutoRepeat = true;
    bool ShowFileInfo = true;
    bool ShowFileName = false;
    bool ShowProgress = false;
    bool BottomToolBar = true;
    bool SingleClick = true;
    bool HideControlPanel = true;
    bool ConfirmDelete = true;
    bool ConfirmCopy = true;
    bool ConfirmReplace = true;
    bool FullScreen = false;
    bool PasswordProtect = false;
    QString Password; // key "Options", in its stored (scrambled) form
    int ShowTime = 3;
    int VideoScale = 1;
    int SoundDisplay = 1;
    QString SoundImage;
    qint32 BackGround = ClBtnFace;
    qint32 ListBackGround = ClBtnFace;
};
