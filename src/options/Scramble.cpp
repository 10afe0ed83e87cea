// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/Scramble.h"

namespace {

// The implementation's own mixing byte. Settings files written with another value do not
// accept their old passwords.
constexpr uchar MixingConstant = 0x5A;

// Escape for bytes that may not appear; itself escaped.
constexpr char Escape = '~';

uchar guardedXor(uchar c, uchar k)
{
    const uchar r = c ^ k;
    return ScrambleByteAllowed(r) ? r : c;
}

// Stored bytes as text: ASCII as it is, 0x91 and 0x92 as the quotation marks they are in
// the Windows code page, 0xA1 to 0xFF as the Latin-1 letters and signs.
QChar byteToChar(uchar byte)
{
    if (byte == 0x91)
        return QChar(0x2018);
    if (byte == 0x92)
        return QChar(0x2019);
    return QChar(byte);
}

} // namespace

bool ScrambleByteAllowed(uchar byte)
{
    if (byte >= 0x21 && byte <= 0x7E)
        return byte != '=' && byte != '[' && byte != ']';
    // 0xA0 is left out: a no-break space is trimmed from the ends of settings values.
    return byte == 0x91 || byte == 0x92 || byte >= 0xA1;
}

QByteArray ScrambleBytes(const QByteArray &bytes)
{
    QByteArray text = bytes;
    const qsizetype n = text.size();
    const auto at = [&text](qsizetype i) { return static_cast<uchar>(text.at(i)); };
    const uchar length = static_cast<uchar>(n);
    for (qsizetype i = 0; i < n; ++i) {
        uchar c = guardedXor(at(i), length);
        if (i == 0) {
            c = guardedXor(c, MixingConstant);
        } else {
            c = guardedXor(c, static_cast<uchar>(i));
            c = guardedXor(c, at(i - 1));
        }
        text[i] = static_cast<char>(c);
    }
    if (n > 1) {
        for (qsizetype i = n - 1; i >= 0; --i) {
            uchar c = guardedXor(at(i), length);
            if (i == n - 1) {
                c = guardedXor(c, MixingConstant);
            } else {
                c = guardedXor(c, static_cast<uchar>(i));
                c = guardedXor(c, at(i + 1));
            }
            text[i] = static_cast<char>(c);
        }
    }
    return text;
}

QString ScramblePassword(const QString &password)
{
    QByteArray encoded;
    for (const char raw : password.toUpper().toUtf8()) {
        const auto byte = static_cast<uchar>(raw);
        if (ScrambleByteAllowed(byte) && raw != Escape) {
            encoded.append(raw);
        } else {
            encoded.append(Escape);
            encoded.append(QByteArray::number(byte, 16).toUpper().rightJustified(2, '0'));
        }
    }
    QString stored;
    for (const char byte : ScrambleBytes(encoded))
        stored.append(byteToChar(static_cast<uchar>(byte)));
    return stored;
}

bool PasswordMatches(const QString &entered, const QString &stored)
{
    return ScramblePassword(entered) == stored;
}
