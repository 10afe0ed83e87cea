// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "options/OptionsSettings.h"

class IniFile;

// Section of KORVID.INI that holds the main window's keys (and the manager's).
inline const QString KorvidSection = QStringLiteral("Korvid32");
inline const QString KorvidIniName = QStringLiteral("KORVID.INI");

// The main window's settings: every field is named after its key and starts at its
// default. The main window derives from this, so dialogs write straight into its fields.
struct TKorvidSettings : TOptionsSettings
{
    int StretchMode = 0;
    int BMarkTop = 0;
    int BMarkLeft = 0;
    int BMarkWidth = 273;
    int BMarkHeight = 185;
};

// What the window itself keeps in the file: its folder, panel sizes, state and bounds.
struct TKorvidWindowState
{
    QString LastDirectory;
    int DDirPanelHeight = 124;
    int CtrlPanelWidth = 168;
    int Top = 40;
    int Left = 30;
    int Width = 554;
    int Height = 380;
    int WindowState = 0; // 0 normal, 1 minimised, 2 maximised
};

// Reads both from the "Korvid32" section; missing or unparsable values give the defaults,
// and a missing "LastDirectory" gives defaultDirectory.
void ReadSettings(const IniFile &ini, TKorvidSettings &settings, TKorvidWindowState &window,
                  const QString &defaultDirectory);

// Writes every key in the file's order. The bounds "T", "L", "W", "H" are written only in
// the normal window state, so a maximised window keeps its last normal bounds in the file.
void WriteSettings(IniFile &ini, const TKorvidSettings &settings, const TKorvidWindowState &window);
