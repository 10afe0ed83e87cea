// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Colours are stored as the platform's colour values: 0x00BBGGRR for a plain colour, and
// 0x80000000 + index for a system colour that follows the desktop's palette.
constexpr qint32 ClBtnFace = static_cast<qint32>(0x8000000F);

QColor ColorFromPlatform(qint32 value);
qint32 PlatformFromColor(const QColor &color);
