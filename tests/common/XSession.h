// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// A private X server (Xvfb) with a real window manager (openbox) for one test process, so
// window tests see real maximising, activation and key presses. It must start before the
// QApplication: it points DISPLAY at the new server and the platform at xcb. Xvfb picks a
// free display itself (-displayfd), so parallel test programs never share one. Both
// processes end with this object, or with the test process should it crash.
class XSession
{
public:
    XSession() = default;
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;
    ~XSession() { stop(); }

    // Starts the server at screen (WIDTHxHEIGHTxDEPTH) and the window manager on it; false
    // with why() when a tool is missing or either does not come up.
    bool start(const QString &screen = QStringLiteral("1280x1024x24"))
    {
        for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                return fail(QStringLiteral("%1 is not installed (tools/install-deps.sh installs "
                                           "it); window tests need a real X session")
                                .arg(QLatin1String(tool)));
        }
        int fds[2];
        if (pipe(fds) != 0)
            return fail(QStringLiteral("no pipe for Xvfb"));
        const QByteArray fd = QByteArray::number(fds[1]);
        const QByteArray size = screen.toLatin1();
        // -noreset: a server that starts afresh whenever its last client leaves refuses
        // connections for a moment, which a window manager starting then takes as no display.
        m_server = spawn({"Xvfb", "-displayfd", fd.constData(), "-screen", "0", size.constData(),
                          "-nolisten", "tcp", "-noreset"},
                         fds[1]);
        close(fds[1]);
        // Generous: on a loaded machine with other X tests starting at once it can be slow.
        const QByteArray number = readLine(fds[0], 60000);
        close(fds[0]);
        if (m_server <= 0 || number.isEmpty())
            return fail(QStringLiteral("Xvfb did not tell its display"));
        m_display = QStringLiteral(":") + QString::fromLatin1(number);
        setenv("DISPLAY", qPrintable(m_display), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("WAYLAND_DISPLAY");
        m_manager = spawn({"openbox"}, -1);
        if (m_manager <= 0 || !waitForManager(60000))
            return fail(QStringLiteral("openbox did not come up on %1").arg(m_display));
        return true;
    }

    QString display() const { return m_display; }
    QString why() const { return m_why; }

    void stop()
    {
        for (pid_t *pid : {&m_manager, &m_server}) {
            if (*pid > 0) {
                kill(*pid, SIGTERM);
                waitpid(*pid, nullptr, 0);
                *pid = 0;
            }
        }
    }

private:
    bool fail(const QString &why)
    {
        m_why = why;
        stop();
        // Nothing may go on talking to a server that is gone.
        m_display.clear();
        unsetenv("DISPLAY");
        return false;
    }

    // The child gets only keep as an open descriptor besides the standard ones, and ends
    // when this process does.
    static pid_t spawn(std::initializer_list<const char *> command, int keep)
    {
        std::vector<char *> argv;
        for (const char *arg : command)
            argv.push_back(const_cast<char *>(arg));
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid != 0)
            return pid;
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        for (int fd = 3; fd < 1024; ++fd) {
            if (fd != keep)
                close(fd);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }

    static QByteArray readLine(int fd, int timeoutMs)
    {
        QByteArray line;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0)
                continue;
            char c;
            const ssize_t got = read(fd, &c, 1);
            if (got <= 0 || c == '\n')
                break;
            line.append(c);
        }
        return line.trimmed();
    }

    // The window manager announces itself on the root window once it manages windows.
    static bool waitForManager(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (FILE *out = popen("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null", "r")) {
                char text[256] = {};
                const size_t got = fread(text, 1, sizeof text - 1, out);
                pclose(out);
                if (got > 0 && std::strstr(text, "window id"))
                    return true;
            }
            poll(nullptr, 0, 50);
        }
        return false;
    }

    pid_t m_server = 0;
    pid_t m_manager = 0;
    QString m_display;
    QString m_why;
};

// The X session of this test program, started by KORVID_XSESSION_MAIN.
inline XSession &TheXSession()
{
    static XSession session;
    return session;
}

// Skips the calling test case when the X session could not start.
#define REQUIRE_XSESSION()                                                                         \
    do {                                                                                           \
        if (TheXSession().display().isEmpty())                                                     \
            QSKIP(qPrintable(TheXSession().why()));                                                \
    } while (false)

// Runs xdotool with these arguments and returns what it printed; fails the test when it
// fails.
inline QString XDoTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(15000) || tool.exitCode() != 0) {
        qWarning("xdotool %s failed: %s", qPrintable(arguments.join(u' ')),
                 tool.readAllStandardError().constData());
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// Gives the window manager's activation and the keyboard to window, and waits until the
// application knows it.
inline bool ActivateForReal(QWidget *window)
{
    XDoTool({QStringLiteral("windowactivate"), QStringLiteral("--sync"),
             QString::number(window->winId())});
    return QTest::qWaitFor(
        [window] {
            return QApplication::applicationState() == Qt::ApplicationActive
                   && window->isActiveWindow();
        },
        10000);
}

// Another program's window (xmessage) takes the activation away from this application;
// closing it and activating window gives it back, which is what a user switching programs
// does. True when both changes reached the application.
inline bool SwitchAwayAndBack(QWidget *window)
{
    QProcess other;
    const QString title =
        QStringLiteral("korvid-test-other-%1").arg(QCoreApplication::applicationPid());
    other.start(QStringLiteral("xmessage"), {QStringLiteral("-title"), title, title});
    if (!other.waitForStarted(10000))
        return false;
    const QString id = XDoTool({QStringLiteral("search"), QStringLiteral("--sync"),
                                QStringLiteral("--name"), title})
                           .section(u'\n', 0, 0);
    XDoTool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
    const bool away = QTest::qWaitFor(
        [] { return QApplication::applicationState() != Qt::ApplicationActive; }, 10000);
    other.kill();
    other.waitForFinished(5000);
    return away && ActivateForReal(window);
}

// Presses these keys (xdotool names, e.g. "F3", "Down") on the real keyboard into window.
inline bool PressKeysForReal(QWidget *window, const QStringList &keys)
{
    if (!ActivateForReal(window))
        return false;
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")};
    arguments += keys;
    XDoTool(arguments);
    return true;
}

// Opens the menu with menuKey (xdotool names, e.g. "alt+b") on the real keyboard and, once
// it is up, picks its item with itemKey; a key that came before the menu would go to the
// window instead.
inline bool ChooseFromMenuForReal(QWidget *window, const QWidget *menu, const QString &menuKey,
                                  const QString &itemKey)
{
    if (!PressKeysForReal(window, {menuKey})
        || !QTest::qWaitFor([menu] { return menu->isVisible(); }, 10000))
        return false;
    XDoTool({QStringLiteral("key"), itemKey});
    return true;
}

// Runs open (which makes the user's move that opens a modal dialog of type T) and, once
// the dialog is up, runs body on it and then closes it; false when no such dialog came in
// time. The check runs from a timer, so it also runs inside the dialog's own modal loop.
template<typename T, typename Open, typename Body> bool InModalForReal(Open open, Body body)
{
    bool done = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        body(dialog);
        if (dialog->isVisible())
            dialog->reject();
        done = true;
    });
    poll.start();
    const bool opened = open();
    const bool shown = opened && QTest::qWaitFor([&done] { return done; }, 60000);
    poll.stop();
    return shown;
}

// Moves the real pointer to this place on the screen and waits until it is there.
inline void MovePointerForReal(const QPoint &global)
{
    // xdotool's --sync waits for a motion, which never comes when the pointer is there
    // already.
    const QString here = XDoTool({QStringLiteral("getmouselocation"), QStringLiteral("--shell")});
    if (here.contains(QStringLiteral("X=%1\n").arg(global.x()))
        && here.contains(QStringLiteral("Y=%1\n").arg(global.y())))
        return;
    XDoTool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(global.x()),
             QString::number(global.y())});
}

// Moves the real pointer to pos in widget and clicks the left button there, as often as
// clicks says.
inline void ClickForReal(QWidget *widget, const QPoint &pos, int clicks = 1)
{
    MovePointerForReal(widget->mapToGlobal(pos));
    XDoTool({QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(clicks),
             QStringLiteral("1")});
}

// A main() that starts the X session before the QApplication, then runs the test object.
#define KORVID_XSESSION_MAIN(TestObject)                                                           \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (!TheXSession().start()) {                                                              \
            std::fprintf(stderr, "no X session: %s\n", qPrintable(TheXSession().why()));           \
            setenv("QT_QPA_PLATFORM", "offscreen", 1);                                             \
        }                                                                                          \
        int result = 0;                                                                            \
        {                                                                                          \
            QApplication app(argc, argv);                                                          \
            TestObject test;                                                                       \
            result = QTest::qExec(&test, argc, argv);                                              \
        }                                                                                          \
        /* The server goes only after the application has let go of it. */                         \
        TheXSession().stop();                                                                      \
        return result;                                                                             \
    }
