// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/MessageFile.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringDecoder>

namespace {

constexpr qsizetype LineFileLimit = 65527;
constexpr int PointsPerInch = 72;
constexpr int DotsPerInch = 96;
// What the font's pixel height becomes for a height of 0.
constexpr int DefaultPixels = 13;
// Larger fonts than this would only make huge strips.
constexpr qint64 MaxPixels = 4000;

// Lines as a text list splits them: at CR, LF or CR LF; no empty line after a final break.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace

void TMessageFont::setSize(int points)
{
    const qint64 pixels = (qint64(points) * DotsPerInch + PointsPerInch / 2) / PointsPerInch;
    Height = -int(std::clamp<qint64>(pixels, -MaxPixels, MaxPixels));
}

void TMessageFont::setStyle(const QString &style)
{
    const auto on = [&style](int place) { return style.size() > place && style.at(place) == u'1'; };
    Bold = on(0);
    Italic = on(1);
    Underline = on(2);
    StrikeOut = on(3);
}

QFont TMessageFont::toFont() const
{
    // The fonts of the system the files come from are the desktop's own user-interface
    // font here; asked for by name, they would come out as some fallback (a serif).
    const bool system = Name.compare(QLatin1String("SYSTEM"), Qt::CaseInsensitive) == 0
                        || Name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0;
    QFont font = system ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(Name);
    // A positive height is the whole cell: the characters take about five sixths of it.
    const qint64 height = Height;
    const qint64 pixels = height < 0 ? -height : (height > 0 ? height * 5 / 6 : DefaultPixels);
    font.setPixelSize(int(std::clamp<qint64>(pixels, 1, MaxPixels)));
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    return font;
}

bool TagValue(const QString &Text, const QString &StartTag, const QString &EndTag, QString &Value)
{
    Value.clear();
    const qsizetype start = Text.indexOf(StartTag);
    const qsizetype end = Text.indexOf(EndTag);
    if (start < 0 || end < 0)
        return false;
    const qsizetype from = start + StartTag.size();
    if (end > from)
        Value = Text.mid(from, end - from);
    return true;
}

qint32 MessageInteger(const QString &text)
{
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(u'$')) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    bool ok = !digits.isEmpty() && digits.at(0).isLetterOrNumber();
    const qulonglong magnitude = ok ? digits.toULongLong(&ok, base) : 0;
    // Decimals must fit a signed 32-bit value; hexadecimal may use all 32 bits.
    const qulonglong limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (!ok || magnitude > limit)
        throw TMessageConvertError("not an integer: " + text.left(40).toStdString());
    const auto value = qint32(quint32(magnitude));
    return negative ? qint32(0u - quint32(value)) : value;
}

QString MessageText(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

void ParseTaggedMessage(const QString &Text, TMessageFont &Font, int &Speed, QString &Message,
                        qint32 &BackColor)
{
    static const QStringList Tags = {"/fc|", "/fh|", "/fn|", "/fs|", "/ft|",
                                     "/bc|", "/sp|", "/sm|", "/eo|"};
    const auto pair = [&](int k, QString &value) {
        return TagValue(Text, Tags.at(k), Tags.at(k + 1), value);
    };
    QString value;
    if (!pair(0, value))
        Font.Color = 255;
    else if (!value.isEmpty())
        Font.Color = MessageInteger(value);
    if (!pair(1, value))
        Font.Height = -13;
    else if (!value.isEmpty())
        Font.Height = MessageInteger(value);
    if (!pair(2, value))
        Font.Name = QStringLiteral("SYSTEM");
    else if (!value.isEmpty())
        Font.Name = value;
    // Size after height: when both are given the size decides.
    if (pair(3, value) && !value.isEmpty())
        Font.setSize(MessageInteger(value));
    if (pair(4, value))
        Font.setStyle(value);
    if (!pair(5, value))
        BackColor = 128;
    else if (!value.isEmpty())
        BackColor = MessageInteger(value);
    if (!pair(6, value))
        Speed = 1;
    else if (!value.isEmpty())
        Speed = MessageInteger(value);
    if (!pair(7, value))
        Message = QStringLiteral(" Invallid message format ! ");
    else if (!value.isEmpty())
        Message = value;
}

bool ReadTaggedMessage(const QString &FileName, TMessageFont &Font, int &Speed, QString &Message,
                       qint32 &BackColor)
{
    QFile file(FileName);
    if (!QFileInfo(FileName).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    ParseTaggedMessage(MessageText(file.readAll()), Font, Speed, Message, BackColor);
    return true;
}

void ParseLineMessage(const QByteArray &Bytes, TMessageFont &Font, int &Speed, qint32 &BackColor,
                      QStringList &Lines)
{
    Lines.clear();
    const QStringList lines = splitLines(MessageText(Bytes.left(LineFileLimit)));
    if (lines.size() < 8)
        throw TMessageConvertError("a message list needs eight lines of settings");
    Font.Color = MessageInteger(lines.at(1));
    Font.Height = MessageInteger(lines.at(2));
    Font.Name = lines.at(3);
    Font.setSize(MessageInteger(lines.at(4)));
    Font.setStyle(lines.at(5));
    BackColor = MessageInteger(lines.at(6));
    Speed = MessageInteger(lines.at(7));
    Lines = lines.mid(8);
}

bool ReadLineMessage(const QString &FileName, TMessageFont &Font, int &Speed, qint32 &BackColor,
                     QStringList &Lines)
{
    QFile file(FileName);
    if (!QFileInfo(FileName).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    ParseLineMessage(file.read(LineFileLimit), Font, Speed, BackColor, Lines);
    return true;
}
