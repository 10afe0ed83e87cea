// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A private profile file ("KORVID.INI" and friends): sections of "key=value" lines.
//
// Qt's QSettings is not used because it reorders keys, turns values holding commas into
// lists and escapes what it writes, while these files are shared with other sections and
// keys that must survive a save untouched. Section and key names match without regard to
// case; values are the text after the first '=', trimmed. Every line the program does not
// change is written back as it was, and saving replaces the file atomically.
class IniFile
{
public:
    // Reads path at once; a missing file is an empty profile. Use isReadable() to learn
    // whether an existing file could not be read.
    explicit IniFile(const QString &path);

    // Parses text as the contents of a profile (used by load and by the fuzz target).
    void parse(const QByteArray &text);

    QString path() const { return m_path; }
    bool isReadable() const { return m_readable; }

    bool hasKey(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def) const;
    // Signed decimal, or hexadecimal after "0x"/"0X" taken as the 32 bits of a signed value;
    // anything else yields def.
    int readInteger(const QString &section, const QString &key, int def) const;
    // Read as an integer; any non-zero value is true.
    bool readBool(const QString &section, const QString &key, bool def) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    // The whole profile as it would be written.
    QByteArray text() const;

    // Writes the profile atomically, creating its folder. A file that existed but could not
    // be read is never replaced, so nothing in it is lost. On failure errorString() tells why.
    bool save();
    QString errorString() const { return m_error; }

    // Integer parsing shared with other readers of profile-style values.
    static bool parseInteger(const QString &text, int *value);

private:
    struct Line
    {
        QString raw;     // the line as read, written back unless the value changed
        QString section; // lower-cased section this line belongs to
        QString key;     // trimmed key for "key=value" lines, empty otherwise
        QString value;
        bool isHeader = false;
    };

    int findKey(const QString &section, const QString &key) const;

    QString m_path;
    QList<Line> m_lines;
    bool m_readable = true;
    QString m_error;
};
