// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStandardPaths>

// A session bus of the test's own (dbus-daemon), made this process's session bus, so
// that stand-in desktop services can be registered on it. Stopped when destroyed.
class PrivateBus
{
public:
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty();
    }

    // The bus's address; empty when it did not start.
    QString start()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {"--session", "--nofork", "--nopidfile", "--print-address"});
        if (!m_daemon.waitForReadyRead(10000))
            return {};
        const QString address = QString::fromLatin1(m_daemon.readLine()).trimmed();
        if (!address.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLatin1());
        return address;
    }

private:
    QProcess m_daemon;
};
