// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A password-protected full-screen show on a real X server with a window manager: a
// storm of random keys neither ends it nor reaches another window; the password does.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "options/Scramble.h"

namespace {

const QString Title = QStringLiteral("Korvid MultiMedia Browser");
const QString Secret = QStringLiteral("k1osk!");

class Session
{
public:
    ~Session()
    {
        for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
            (*it)->kill();
            (*it)->waitForFinished(5000);
        }
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    QProcess *start(const QString &program, const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, arguments);
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    // Output of a short tool run on the session's display; empty on failure.
    QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(10000) || process.exitCode() != 0)
            return {};
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    bool waitFor(const std::function<bool()> &done, int ms = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > ms)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    // Geometry of the active window as "WxH", empty when there is none.
    QString activeGeometry()
    {
        const QString text =
            run(QStringLiteral("xdotool"), {"getactivewindow", "getwindowgeometry", "--shell"});
        const auto value = [&text](const char *key) {
            for (const QString &line : text.split(u'\n')) {
                if (line.startsWith(QLatin1String(key) + u'='))
                    return line.mid(int(qstrlen(key)) + 1);
            }
            return QString();
        };
        return value("WIDTH").isEmpty() ? QString() : value("WIDTH") + u'x' + value("HEIGHT");
    }

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

} // namespace

class TestKiosk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void randomKeysCannotLeaveTheShow()
    {
        for (const char *tool : {"Xvfb", "openbox", "xdotool", "xev"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        }
        int number = 70;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) && number < 200)
            ++number;
        const QString display = QStringLiteral(":%1").arg(number);

        QTemporaryDir home;
        Session session;
        session.environment.insert(QStringLiteral("DISPLAY"), display);
        session.environment.insert(QStringLiteral("HOME"), home.path());
        session.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
        session.environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        session.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

        // Without -noreset the server starts afresh when its last client (the probe below)
        // goes, and a window manager that connects meanwhile finds no display.
        session.start(QStringLiteral("Xvfb"),
                      {display, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
        QVERIFY(session.waitFor([&] {
            return !session.run(QStringLiteral("xdotool"), {"getdisplaygeometry"}).isEmpty();
        }));
        session.start(QStringLiteral("openbox"), {});
        QVERIFY(session.waitFor(
            [&] {
                return session.run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"})
                    .contains(QLatin1String("window id"));
            },
            60000));
        // Another program that would see any key that got away.
        QProcess *witness =
            session.start(QStringLiteral("xev"), {"-event", "keyboard", "-name", "witness"});
        QVERIFY(session.waitFor([&] {
            return !session.run(QStringLiteral("xdotool"), {"search", "--name", "^witness$"})
                        .isEmpty();
        }));

        // A protected full-screen show of two pictures, started from the command line.
        QDir(home.path()).mkpath(QStringLiteral("config/korvid"));
        QDir(home.path()).mkpath(QStringLiteral("show"));
        for (const char *name : {"scene-64x48.png", "scene-64x48.gif"})
            QVERIFY(QFile::copy(QStringLiteral(KORVID_TEST_DATA "/") + QLatin1String(name),
                                home.filePath(QStringLiteral("show/") + QLatin1String(name))));
        QFile ini(home.filePath(QStringLiteral("config/korvid/KORVID.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(("[Korvid32]\nFullScreen=1\nPasswordProtect=1\nShowTime=1\nOptions="
                   + ScramblePassword(Secret).toUtf8() + "\n"));
        ini.close();
        QProcess *korvid = session.start(QStringLiteral(KORVID_PROGRAM),
                                         {"/M", home.filePath(QStringLiteral("show"))});
        QVERIFY(
            session.waitFor([&] { return session.activeGeometry() == QLatin1String("1024x768"); }));

        // The storm: letters, digits, Enter, Esc, function keys and the window manager's
        // own keys for switching and closing, for ten seconds.
        const QStringList keys = {
            "a",        "q",      "x",      "5",     "space",      "Return",
            "Escape",   "F1",     "F2",     "F4",    "Tab",        "alt+Tab",
            "alt+F4",   "ctrl+q", "ctrl+w", "super", "alt+Escape", "ctrl+alt+Delete",
            "BackSpace"};
        QElapsedTimer storm;
        storm.start();
        auto *random = QRandomGenerator::global();
        while (storm.elapsed() < 10000) {
            QStringList batch;
            for (int i = 0; i < 8; ++i)
                batch.append(keys.at(random->bounded(int(keys.size()))));
            session.run(QStringLiteral("xdotool"), QStringList{"key", "--delay", "15"} + batch);
            QCOMPARE(korvid->state(), QProcess::Running);
        }
        QTest::qWait(500);
        QCOMPARE(korvid->state(), QProcess::Running);
        // Closing keys never reached the window manager: the other program still runs.
        QCOMPARE(witness->state(), QProcess::Running);
        QVERIFY2(!witness->readAllStandardOutput().contains("KeyPress"),
                 "a key reached another window");

        // The storm may have left a prompt open (or one about to open): Esc closes it, and
        // the show is still on.
        bool settled = false;
        for (int attempt = 0; attempt < 8 && !settled; ++attempt) {
            QTest::qWait(400);
            if (session.activeGeometry() == QLatin1String("1024x768")) {
                QTest::qWait(400);
                settled = session.activeGeometry() == QLatin1String("1024x768");
            } else {
                session.run(QStringLiteral("xdotool"), {"key", "Escape"});
            }
        }
        QVERIFY(settled);
        QCOMPARE(korvid->state(), QProcess::Running);

        // The password ends the show.
        session.run(QStringLiteral("xdotool"), {"key", "a"});
        QVERIFY(session.waitFor([&] {
            const QString geometry = session.activeGeometry();
            return !geometry.isEmpty() && geometry != QLatin1String("1024x768");
        }));
        QTest::qWait(200);
        session.run(QStringLiteral("xdotool"), {"type", "--delay", "30", Secret});
        session.run(QStringLiteral("xdotool"), {"key", "Return"});
        // The main window is back, its caption naming the picture shown last.
        QVERIFY(session.waitFor([&] {
            return session.run(QStringLiteral("xdotool"), {"getactivewindow", "getwindowname"})
                .startsWith(QLatin1String("scene-64x48"));
        }));
        QCOMPARE(korvid->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestKiosk)
#include "tst_kiosk.moc"
