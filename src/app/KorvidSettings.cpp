// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KorvidSettings.h"

#include <array>
#include <utility>

#include "toolkit/IniFile.h"

namespace {

using BoolField = std::pair<const char *, bool TKorvidSettings::*>;
using IntField = std::pair<const char *, int TKorvidSettings::*>;
using WindowField = std::pair<const char *, int TKorvidWindowState::*>;

// Each group in the order it is written.
constexpr std::array<BoolField, 13> BoolFields = {{
    {"AutoStart", &TKorvidSettings::AutoStart},
    {"AutoRepeat", &TKorvidSettings::AutoRepeat},
    {"BottomToolBar", &TKorvidSettings::BottomToolBar},
    {"SingleClick", &TKorvidSettings::SingleClick},
    {"ShowFileInfo", &TKorvidSettings::ShowFileInfo},
    {"HideControlPanel", &TKorvidSettings::HideControlPanel},
    {"ConfirmDelete", &TKorvidSettings::ConfirmDelete},
    {"ConfirmCopy", &TKorvidSettings::ConfirmCopy},
    {"ConfirmReplace", &TKorvidSettings::ConfirmReplace},
    {"FullScreen", &TKorvidSettings::FullScreen},
    {"ShowFileName", &TKorvidSettings::ShowFileName},
    {"ShowProgress", &TKorvidSettings::ShowProgress},
    {"PasswordProtect", &TKorvidSettings::PasswordProtect},
}};

constexpr std::array<WindowField, 2> PanelFields = {{
    {"DDirPanelHeight", &TKorvidWindowState::DDirPanelHeight},
    {"CtrlPanelWidth", &TKorvidWindowState::CtrlPanelWidth},
}};

constexpr std::array<IntField, 2> ShowFields = {{
    {"ShowTime", &TKorvidSettings::ShowTime},
    {"VideoScale", &TKorvidSettings::VideoScale},
}};

constexpr std::array<IntField, 4> DisplayFields = {{
    {"StretchMode", &TKorvidSettings::StretchMode},
    {"BackGround", &TKorvidSettings::BackGround},
    {"ListBackGround", &TKorvidSettings::ListBackGround},
    {"SoundDisplay", &TKorvidSettings::SoundDisplay},
}};

constexpr std::array<WindowField, 4> BoundsFields = {{
    {"T", &TKorvidWindowState::Top},
    {"L", &TKorvidWindowState::Left},
    {"W", &TKorvidWindowState::Width},
    {"H", &TKorvidWindowState::Height},
}};

constexpr std::array<IntField, 4> BookmarkFields = {{
    {"BMT", &TKorvidSettings::BMarkTop},
    {"BML", &TKorvidSettings::BMarkLeft},
    {"BMW", &TKorvidSettings::BMarkWidth},
    {"BMH", &TKorvidSettings::BMarkHeight},
}};

template<typename Object, std::size_t N>
void readInts(const IniFile &ini, Object &object,
              const std::array<std::pair<const char *, int Object::*>, N> &fields)
{
    for (const auto &[key, field] : fields)
        object.*field = ini.readInteger(KorvidSection, QLatin1String(key), object.*field);
}

template<typename Object, std::size_t N>
void writeInts(IniFile &ini, const Object &object,
               const std::array<std::pair<const char *, int Object::*>, N> &fields)
{
    for (const auto &[key, field] : fields)
        ini.writeInteger(KorvidSection, QLatin1String(key), object.*field);
}

const QString OptionsKey = QStringLiteral("Options");
const QString LastDirectoryKey = QStringLiteral("LastDirectory");
const QString SoundImageKey = QStringLiteral("SoundImage");
const QString WindowStateKey = QStringLiteral("WindowState");

} // namespace

void ReadSettings(const IniFile &ini, TKorvidSettings &settings, TKorvidWindowState &window,
                  const QString &defaultDirectory)
{
    settings = TKorvidSettings();
    window = TKorvidWindowState();
    for (const auto &[key, field] : BoolFields)
        settings.*field = ini.readBool(KorvidSection, QLatin1String(key), settings.*field);
    settings.Password = ini.readString(KorvidSection, OptionsKey, QString());
    readInts(ini, window, PanelFields);
    readInts(ini, settings, ShowFields);
    readInts(ini, settings, DisplayFields);
    window.LastDirectory = ini.readString(KorvidSection, LastDirectoryKey, defaultDirectory);
    settings.SoundImage = ini.readString(KorvidSection, SoundImageKey, QString());
    readInts(ini, window, BoundsFields);
    window.WindowState = ini.readInteger(KorvidSection, WindowStateKey, window.WindowState);
    readInts(ini, settings, BookmarkFields);
}

void WriteSettings(IniFile &ini, const TKorvidSettings &settings, const TKorvidWindowState &window)
{
    for (const auto &[key, field] : BoolFields)
        ini.writeBool(KorvidSection, QLatin1String(key), settings.*field);
    ini.writeString(KorvidSection, OptionsKey, settings.Password);
    ini.writeString(KorvidSection, LastDirectoryKey, window.LastDirectory);
    writeInts(ini, window, PanelFields);
    writeInts(ini, settings, ShowFields);
    ini.writeInteger(KorvidSection, WindowStateKey, window.WindowState);
    writeInts(ini, settings, DisplayFields);
    ini.writeString(KorvidSection, SoundImageKey, settings.SoundImage);
    if (window.WindowState == 0)
        writeInts(ini, window, BoundsFields);
    writeInts(ini, settings, BookmarkFields);
}
