// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/PlatformColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

// System colour indexes 0 to 24 of the platform, each mapped to the nearest role.
constexpr std::array<QPalette::ColorRole, 25> SystemRoles = {
    QPalette::Button,          // scroll bar
    QPalette::Dark,            // desktop
    QPalette::Highlight,       // active caption
    QPalette::Mid,             // inactive caption
    QPalette::Window,          // menu
    QPalette::Base,            // window
    QPalette::Shadow,          // window frame
    QPalette::WindowText,      // menu text
    QPalette::Text,            // window text
    QPalette::HighlightedText, // caption text
    QPalette::Window,          // active border
    QPalette::Window,          // inactive border
    QPalette::Mid,             // application workspace
    QPalette::Highlight,       // highlight
    QPalette::HighlightedText, // highlighted text
    QPalette::Button,          // button face
    QPalette::Dark,            // button shadow
    QPalette::PlaceholderText, // grey text
    QPalette::ButtonText,      // button text
    QPalette::Text,            // inactive caption text
    QPalette::Light,           // button highlight
    QPalette::Shadow,          // 3-D dark shadow
    QPalette::Midlight,        // 3-D light
    QPalette::ToolTipText,     // info text
    QPalette::ToolTipBase,     // info background
};

} // namespace

QColor ColorFromPlatform(qint32 value)
{
    const quint32 bits = static_cast<quint32>(value);
    if (bits & 0x80000000u) {
        const quint32 index = bits & 0xFFu;
        const QPalette palette = QGuiApplication::palette();
        if (index < SystemRoles.size())
            return palette.color(SystemRoles[index]);
        return palette.color(QPalette::Window);
    }
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 PlatformFromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}
