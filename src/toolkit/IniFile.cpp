// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Profiles are small; a larger file is surely not one and is left alone rather than read.
constexpr qint64 MaxProfileSize = 16 * 1024 * 1024;

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (file.size() > MaxProfileSize || !file.open(QIODevice::ReadOnly)) {
        m_readable = false;
        return;
    }
    parse(file.readAll());
}

void IniFile::parse(const QByteArray &text)
{
    m_lines.clear();
    QString section;
    QString all = QString::fromUtf8(text);
    // Editors on other systems start files with a byte-order mark, some with several.
    while (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    const QStringList rows = all.split(u'\n');
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QString raw = rows.at(i);
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        // A final newline leaves one empty piece that is no line of the file.
        if (i == rows.size() - 1 && raw.isEmpty())
            break;
        Line line;
        line.raw = raw;
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            section = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed().toLower();
            line.isHeader = true;
        } else if (!trimmed.startsWith(u';')) {
            const qsizetype eq = trimmed.indexOf(u'=');
            if (eq > 0) {
                line.key = trimmed.left(eq).trimmed();
                line.value = trimmed.mid(eq + 1).trimmed();
            }
        }
        line.section = section;
        m_lines.append(line);
    }
}

int IniFile::findKey(const QString &section, const QString &key) const
{
    const QString wanted = section.toLower();
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (!line.key.isEmpty() && line.section == wanted
            && line.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findKey(section, key) >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const int i = findKey(section, key);
    return i < 0 ? def : m_lines.at(i).value;
}

bool IniFile::parseInteger(const QString &text, int *value)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        // Only plain hex digits: toUInt would also take a sign or blanks.
        for (const QChar c : digits) {
            if (!c.isDigit() && !(c.toLower() >= u'a' && c.toLower() <= u'f'))
                return false;
        }
        const quint32 bits = digits.toUInt(&ok, 16);
        if (ok)
            *value = static_cast<qint32>(bits);
        return ok;
    }
    const int v = t.toInt(&ok, 10);
    if (ok)
        *value = v;
    return ok;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const int i = findKey(section, key);
    int value = def;
    if (i < 0 || !parseInteger(m_lines.at(i).value, &value))
        return def;
    return value;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // Line breaks in a value would start new lines, and so new keys, in the file.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    const int existing = findKey(section, key);
    if (existing >= 0) {
        // The key keeps the spelling the file gave it.
        Line &line = m_lines[existing];
        line.raw = line.key + u'=' + clean;
        line.value = clean.trimmed();
        return;
    }
    Line line;
    line.raw = key + u'=' + clean;
    line.section = section.toLower();
    line.key = key;
    line.value = clean.trimmed();

    // New keys go after the last key of their section, or into a new section at the end.
    int insertAt = -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line &l = m_lines.at(i);
        if (l.section == line.section && (l.isHeader || !l.key.isEmpty()))
            insertAt = i + 1;
    }
    if (insertAt < 0) {
        Line header;
        header.raw = u'[' + section + u']';
        header.section = line.section;
        header.isHeader = true;
        m_lines.append(header);
        m_lines.append(line);
        return;
    }
    m_lines.insert(insertAt, line);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::text() const
{
    QByteArray out;
    for (const Line &line : m_lines) {
        out += line.raw.toUtf8();
        out += '\n';
    }
    return out;
}

bool IniFile::save()
{
    m_error.clear();
    if (!m_readable) {
        m_error = QStringLiteral("The existing file could not be read, so it was left as it is.");
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray data = text();
    if (file.write(data) != data.size() || !file.commit()) {
        m_error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
