// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The check that MIDI files pass before they reach the media engine.
#include <cstdint>

#include "display/codec/MidiCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (LooksLikeMidi(bytes.left(12)))
        MidiFileProblem(bytes);
    return 0;
}
