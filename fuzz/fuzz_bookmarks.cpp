// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The bookmark file is plain text that users and other programs may have written.
#include <cstdint>

#include "bookmarks/BMarkUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TBookmarkList marks = ParseBookmarks(text);
    // What is written reads back as the same bookmarks, except that a name holding ";"
    // splits there, as the format says.
    const QByteArray written = FormatBookmarks(marks);
    const TBookmarkList again = ParseBookmarks(written);
    // A file as the program writes it survives another read and write byte for byte,
    // whatever encoding its lines are in.
    if (FormatBookmarks(again) != written)
        __builtin_trap();
    if (again.size() != marks.size())
        __builtin_trap();
    for (qsizetype i = 0; i < marks.size(); ++i) {
        if (!marks.at(i).Name.contains(u';') && !marks.at(i).Location->Path.contains(u'\r')
            && again.at(i).Name != marks.at(i).Name)
            __builtin_trap();
    }
    return 0;
}
