// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// A temporary folder for one test, with helpers to put files into it.
class TestDir
{
public:
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    QString write(const QString &name, const QByteArray &contents = QByteArray("x"))
    {
        const QString full = filePath(name);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile file(full);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("TestDir: cannot write %s", qPrintable(full));
        return full;
    }

    static void writeFile(const QString &path, const QByteArray &contents)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("TestDir: cannot write %s", qPrintable(path));
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

// Points the home folder (and so the configuration folder) of this test process at a
// fresh temporary folder, so tests never touch the user's files or each other's.
inline QString IsolateHome()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    QStandardPaths::setTestModeEnabled(true);
    return home.path();
}

// Whether a file or folder of this name lies in a trash folder under home.
inline bool InTrash(const QString &home, const QString &name)
{
    QDirIterator it(home, {name}, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (it.next().contains(QLatin1String("/Trash/files/")))
            return true;
    }
    return false;
}

// Where the tests' fixtures live.
inline QString TestDataDir()
{
    return QStringLiteral(KORVID_TEST_DATA);
}
