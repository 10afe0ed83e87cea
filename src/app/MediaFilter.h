// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// Kinds of the file last opened, from its upper-cased extension.
enum TMediaKind { mkImage = 0, mkSong = 1, mkWave = 2, mkVideo = 3, mkInvalid = 99 };

// The kind a file name's extension gives, in any letter case; mkInvalid for any other.
TMediaKind MediaKindOf(const QString &fileName);

// Answers whether sounds or videos with an extension (such as "AVI") can be played here.
using TDeviceCheck = std::function<bool(const QString &extension)>;

// The media-type list for the media-type box: "All MultiMedia Files" first, with every
// picture type and each sound and video type the machine can play; then the groups and
// one entry per type.
QString MakeFilter(const TDeviceCheck &deviceKnown);
