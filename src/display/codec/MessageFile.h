// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

#include <stdexcept>

// A number in a message file that is not one; the load that meets it shows nothing.
class TMessageConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The font of a scrolling message as the message files describe it. Height is in pixels
// (negative: the characters' height, positive: the cell's); a size in points becomes a
// height at 96 dots per inch. Colours are 0x00BBGGRR values.
struct TMessageFont
{
    QString Name = QStringLiteral("SYSTEM");
    int Height = -13;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    qint32 Color = 0;

    void setSize(int points);
    // Up to four characters: '1' in place 1 to 4 switches on bold, italic, underline,
    // strike-out.
    void setStyle(const QString &style);
    QFont toFont() const;
};

// Whether both tags occur in Text; Value is what lies between the first StartTag and the
// first EndTag (empty when the end comes first).
bool TagValue(const QString &Text, const QString &StartTag, const QString &EndTag, QString &Value);

// A decimal integer, or hexadecimal after '$' (or "0x"), in 32 bits; throws
// TMessageConvertError for anything else.
qint32 MessageInteger(const QString &text);

// The text of a message file: UTF-8, or Latin-1 when it is not valid UTF-8.
QString MessageText(const QByteArray &bytes);

// ".SCM": the nine tags /fc| /fh| /fn| /fs| /ft| /bc| /sp| /sm| /eo| in this order, each
// value running to the next tag. A missing pair gives the default (size and style stay);
// an empty value keeps what was there.
void ParseTaggedMessage(const QString &Text, TMessageFont &Font, int &Speed, QString &Message,
                        qint32 &BackColor);
// False when the file does not exist.
bool ReadTaggedMessage(const QString &FileName, TMessageFont &Font, int &Speed, QString &Message,
                       qint32 &BackColor);

// ".CMS": line 1 unused; lines 2 to 8 font colour, height, name, size, style, background
// colour, speed; lines 9 and on the messages. Only the first 65,527 bytes count.
void ParseLineMessage(const QByteArray &Bytes, TMessageFont &Font, int &Speed, qint32 &BackColor,
                      QStringList &Lines);
bool ReadLineMessage(const QString &FileName, TMessageFont &Font, int &Speed, qint32 &BackColor,
                     QStringList &Lines);
