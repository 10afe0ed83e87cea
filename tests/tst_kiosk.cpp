// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A password-protected full-screen show, started from the command line on a real X server
// with a window manager, holds: another client that tries to take keyboard or pointer
// without pause never gets them, through fifty password prompts and every way a task bar
// or pager can hide the view; a storm of keys, the window manager's own among them, neither
// ends the show nor reaches another window; the password does.
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "common/XProbe.h"
#include "common/XSession.h"
#include "options/Scramble.h"

namespace {

const QString Secret = QStringLiteral("k1osk!");
const QSize Screen(1024, 768);

QString Program()
{
    // Another build can be tried against the same test.
    const QString other = qEnvironmentVariable("KORVID_KIOSK_PROGRAM");
    return other.isEmpty() ? QStringLiteral(KORVID_PROGRAM) : other;
}

void Keys(const QStringList &keys, int delayMs = 20)
{
    XDoTool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs)}
            + keys);
}

// A protected show of two large pictures of different colours, one second each, started
// as a user starts it: the program with /M and a folder.
class LockedShow
{
public:
    LockedShow()
        : client(TheXSession().display())
    {
        QDir root(home.path());
        root.mkpath(QStringLiteral("config/korvid"));
        root.mkpath(QStringLiteral("show"));
        for (const auto &[name, colour] :
             {std::pair{"red.png", QColor(Qt::red)}, std::pair{"blue.png", QColor(Qt::blue)}}) {
            QImage picture(3000, 2000, QImage::Format_RGB32);
            picture.fill(colour);
            picture.save(home.filePath(QStringLiteral("show/") + QLatin1String(name)));
        }
        QFile ini(home.filePath(QStringLiteral("config/korvid/KORVID.INI")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Korvid32]\nFullScreen=1\nPasswordProtect=1\nShowTime=1\nOptions="
                      + ScramblePassword(Secret).toUtf8() + "\n");
        ini.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        korvid.setProcessEnvironment(environment);
        korvid.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        korvid.start(Program(), {QStringLiteral("/M"), home.filePath(QStringLiteral("show"))});
    }
    ~LockedShow()
    {
        korvid.kill();
        korvid.waitForFinished(5000);
    }

    // Waits for the view to cover the screen and hold the input; false if it never does.
    bool waitForLock()
    {
        const bool shown = QTest::qWaitFor(
            [this] {
                view = client.activeWindow();
                return view && client.size(view) == Screen && client.inFront(view);
            },
            30000);
        return shown && QTest::qWaitFor([this] { return !client.grabbable(); }, 10000);
    }

    bool inFront()
    {
        return QTest::qWaitFor([this] { return client.inFront(view); }, 5000);
    }

    // A key opens the prompt over the view.
    bool openPrompt()
    {
        Keys({QStringLiteral("a")});
        return QTest::qWaitFor(
            [this] {
                const xcb_window_t active = client.activeWindow();
                return active && active != view && client.viewable(active);
            },
            5000);
    }

    // The pictures keep changing: the show runs on.
    bool showRuns()
    {
        const quint32 first = client.pixel(view, Screen.width() / 2, Screen.height() / 2);
        return QTest::qWaitFor(
            [&] { return client.pixel(view, Screen.width() / 2, Screen.height() / 2) != first; },
            6000);
    }

    // The password ends the show: the main window comes back and the input is free.
    bool endWithPassword()
    {
        if (!openPrompt())
            return false;
        XDoTool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), Secret});
        Keys({QStringLiteral("Return")});
        return QTest::qWaitFor(
                   [this] {
                       const xcb_window_t active = client.activeWindow();
                       // The main window, of its own size, with the view gone.
                       return active && active != view && !client.viewable(view)
                              && client.viewable(active) && client.size(active) != Screen;
                   },
                   10000)
               && QTest::qWaitFor([this] { return client.grabbable(); }, 5000);
    }

    QTemporaryDir home;
    QProcess korvid;
    XClient client;
    xcb_window_t view = 0;
};

} // namespace

class TestKiosk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { REQUIRE_XSESSION(); }

    void noOtherClientEverTakesTheInput()
    {
        LockedShow show;
        QVERIFY(show.client.connected());
        QVERIFY2(show.waitForLock(), "the protected show did not come up holding the input");
        GrabProbe probe(TheXSession().display());
        probe.start();

        // Fifty prompts, closed by Esc and by wrong passwords in turn.
        int round = 0;
        for (; round < 50; ++round) {
            if (!show.openPrompt())
                break;
            if (round == 0) {
                // The window manager framed the prompt with a border and no title bar, so
                // with no caption and nothing to click but its own buttons.
                const auto frame =
                    show.client.property(show.client.activeWindow(), "_NET_FRAME_EXTENTS");
                QCOMPARE(frame.size(), size_t(4));
                QCOMPARE(frame[2], frame[3]);
            }
            if (round % 2 == 0) {
                Keys({QStringLiteral("Escape")});
            } else {
                XDoTool({QStringLiteral("type"), QStringLiteral("wrong")});
                Keys({QStringLiteral("Return")});
            }
            if (!show.inFront())
                break;
        }
        QVERIFY2(probe.successes() == 0,
                 qPrintable(QStringLiteral("another client took the input %1 times around the "
                                           "prompts")
                                .arg(probe.successes())));
        QVERIFY2(round == 50, qPrintable(QStringLiteral("prompt %1 went wrong").arg(round)));

        // What a task bar or pager can ask of the window manager, each undone at once.
        show.client.iconify(show.view);
        QVERIFY2(show.inFront(), "not restored after being iconified");
        show.client.moveToDesktop(show.view, 1);
        QVERIFY2(show.inFront(), "not restored after a move to desktop 2");
        show.client.switchDesktop(1);
        QVERIFY2(show.inFront(), "not in front after a switch to desktop 2");
        show.client.switchDesktop(0);
        show.client.leaveFullScreen(show.view);
        QVERIFY2(show.inFront(), "not full screen again");
        QVERIFY(show.showRuns());

        probe.stop();
        QCOMPARE(probe.successes(), 0);
        QVERIFY2(
            probe.interval() < 0.3,
            qPrintable(QStringLiteral("the probe tried only every %1 ms").arg(probe.interval())));
        QVERIFY(show.endWithPassword());
    }

    void keyStormLeavesTheShowInFront()
    {
        // Another program that would see any key that got away.
        QProcess witness;
        witness.start(QStringLiteral("xev"), {"-event", "keyboard", "-name", "witness"});
        QVERIFY(QTest::qWaitFor(
            [] {
                return !XDoTool({QStringLiteral("search"), QStringLiteral("--name"),
                                 QStringLiteral("^witness$")})
                            .isEmpty();
            },
            10000));
        LockedShow show;
        QVERIFY(show.waitForLock());
        // Whatever the storm does, at no moment could another program take the keys.
        GrabProbe probe(TheXSession().display());
        probe.start();

        // Letters, Enter and Esc (which open and close prompts), and the window manager's
        // keys for switching desktops and programs, showing the desktop and closing.
        const QStringList keys = {"a",
                                  "5",
                                  "space",
                                  "Return",
                                  "Escape",
                                  "F1",
                                  "F4",
                                  "Tab",
                                  "alt+Tab",
                                  "alt+F4",
                                  "ctrl+q",
                                  "super",
                                  "super+d",
                                  "ctrl+alt+Right",
                                  "ctrl+alt+Left",
                                  "super+F2",
                                  "alt+Escape",
                                  "ctrl+alt+Delete",
                                  "BackSpace"};
        // Short pauses between keys too, so that some come the moment a prompt closes.
        const int pauses[] = {0, 1, 2, 3, 5, 20};
        QRandomGenerator random(18);
        for (int batch = 0; batch < 30; ++batch) {
            QStringList some;
            for (int i = 0; i < 8; ++i)
                some.append(keys.at(random.bounded(int(keys.size()))));
            Keys(some, pauses[batch % std::size(pauses)]);
            QCOMPARE(show.korvid.state(), QProcess::Running);
        }
        // A prompt the storm left open is closed, as a passer-by would.
        for (int i = 0; i < 10 && !show.client.inFront(show.view); ++i) {
            Keys({QStringLiteral("Escape")});
            QTest::qWait(300);
        }
        probe.stop();
        QVERIFY2(probe.successes() == 0,
                 qPrintable(QStringLiteral("another client took the input %1 times in the storm")
                                .arg(probe.successes())));
        QVERIFY2(show.inFront(), "the view is not mapped, full screen, on top and active");
        QVERIFY(show.showRuns());
        QCOMPARE(witness.state(), QProcess::Running);
        QVERIFY2(!witness.readAllStandardOutput().contains("KeyPress"),
                 "a key reached another window");
        QVERIFY(show.endWithPassword());
        witness.kill();
        witness.waitForFinished(5000);
    }
};

int main(int argc, char **argv)
{
    if (!TheXSession().start(QStringLiteral("1024x768x24")))
        std::fprintf(stderr, "no X session: %s\n", qPrintable(TheXSession().why()));
    int result = 0;
    {
        QCoreApplication app(argc, argv);
        TestKiosk test;
        result = QTest::qExec(&test, argc, argv);
    }
    TheXSession().stop();
    return result;
}

#include "tst_kiosk.moc"
