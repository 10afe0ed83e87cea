// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The media engine's MIDI reader loops for ever on a track event it cannot read, holding
// a lock the program needs to close the file: MIDI files are therefore read through here
// first, and only files whose every track reads to its end are handed on.

// Whether the first bytes of a file start a standard MIDI file, plain ("MThd") or in a
// RIFF "RMID" wrapper.
bool LooksLikeMidi(const QByteArray &head);

// Empty when the header is usable and every track can be read event by event to its end;
// otherwise the reason, for a message.
QString MidiFileProblem(const QByteArray &bytes);
