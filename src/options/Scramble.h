// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The access password is kept only in a scrambled form that can live in a text settings
// file: every byte of it is printable and none is "=", "[", "]", a space or a control
// character. Letters count without regard to case.

// Whether a byte may appear in a scrambled password.
bool ScrambleByteAllowed(uchar byte);

// The byte-exact scrambling: a forward and a backward pass of guarded exclusive-ors with
// the length, the position, the neighbouring byte and a fixed mixing byte. A byte is only
// ever replaced by an allowed one, so allowed bytes in give allowed bytes out, one for one.
QByteArray ScrambleBytes(const QByteArray &bytes);

// The stored form of a password: its upper-cased text as UTF-8, with every byte that may
// not appear written as "~" and two hexadecimal digits (and "~" itself so), scrambled.
// Different passwords (after upper-casing) always give different stored forms.
QString ScramblePassword(const QString &password);

// Whether the entered text matches a stored form.
bool PasswordMatches(const QString &entered, const QString &stored);
