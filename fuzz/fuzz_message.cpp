// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scrolling message files (".SCM" tags, ".CMS" lines) are text anyone may have written.
#include <cstdint>

#include "display/codec/MessageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TMessageFont font;
    int speed = 1;
    qint32 back = 128;
    QString text;
    try {
        ParseTaggedMessage(MessageText(bytes), font, speed, text, back);
        // Whatever was read must make a usable font.
        if (font.toFont().pixelSize() < 1)
            __builtin_trap();
    } catch (const TMessageConvertError &) {
    }
    QStringList lines;
    try {
        ParseLineMessage(bytes, font, speed, back, lines);
        if (font.toFont().pixelSize() < 1)
            __builtin_trap();
    } catch (const TMessageConvertError &) {
    }
    return 0;
}
