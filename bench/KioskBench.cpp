// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How soon a locked full-screen show is back in front, holding the input, after a task bar
// or pager has hidden it: iconified, moved to another desktop, taken out of full screen.
#include "WindowBench.h"

#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "BenchReport.h"
#include "common/XProbe.h"
#include "common/XSession.h"
#include "options/Scramble.h"

namespace {

constexpr int Rounds = 10;
const QSize Screen(1024, 768);

// The session is private to this benchmark: the other benchmarks and their child programs
// keep the display they were given.
class PrivateSession
{
public:
    PrivateSession()
        : m_display(qgetenv("DISPLAY"))
        , m_platform(qgetenv("QT_QPA_PLATFORM"))
        , m_wayland(qgetenv("WAYLAND_DISPLAY"))
    {
        m_started = m_session.start(QStringLiteral("1024x768x24"));
        restore("DISPLAY", m_display);
        restore("QT_QPA_PLATFORM", m_platform);
        restore("WAYLAND_DISPLAY", m_wayland);
    }
    bool started() const { return m_started; }
    QString display() const { return m_session.display(); }
    QString why() const { return m_session.why(); }

private:
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QByteArray m_display;
    QByteArray m_platform;
    QByteArray m_wayland;
    XSession m_session;
    bool m_started = false;
};

} // namespace

void RunKioskBenchmark(const QString &korvidProgram)
{
    PrivateSession session;
    if (!session.started()) {
        ReportMissing("kiosk_regrab_ms", session.why());
        return;
    }
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config/korvid"));
    QDir(home.path()).mkpath(QStringLiteral("show"));
    for (const char *name : {"a.png", "b.png"}) {
        QImage picture(3000, 2000, QImage::Format_RGB32);
        picture.fill(name[0] == 'a' ? QColor(Qt::darkGreen) : QColor(Qt::darkCyan));
        picture.save(home.filePath(QStringLiteral("show/") + QLatin1String(name)));
    }
    QFile ini(home.filePath(QStringLiteral("config/korvid/KORVID.INI")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Korvid32]\nFullScreen=1\nPasswordProtect=1\nShowTime=2\nOptions="
                  + ScramblePassword(QStringLiteral("bench")).toUtf8() + "\n");
    ini.close();

    QProcess korvid;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), session.display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    korvid.setProcessEnvironment(environment);
    korvid.start(korvidProgram, {QStringLiteral("/M"), home.filePath(QStringLiteral("show"))});

    XClient client(session.display());
    xcb_window_t view = 0;
    const bool locked = QTest::qWaitFor(
        [&] {
            view = client.activeWindow();
            return view && client.size(view) == Screen && client.inFront(view)
                   && !client.grabbable();
        },
        30000);
    if (!locked) {
        ReportMissing("kiosk_regrab_ms", QStringLiteral("the protected show never held the input"));
        return;
    }

    std::vector<double> times;
    int unseen = 0;
    const auto measure = [&](const auto &hide) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            QElapsedTimer clock;
            clock.start();
            hide();
            // First the window manager acts on the message, then the show undoes it. A
            // hiding never seen (the message came while the window manager was still busy
            // with the last one, or the view was back between two looks) is tried again.
            while (client.inFront(view) && clock.elapsed() < 1000)
                std::this_thread::yield();
            const bool seen = clock.elapsed() < 1000;
            while ((!client.inFront(view) || client.grabbable()) && clock.elapsed() < 5000)
                std::this_thread::yield();
            const double ms = clock.nsecsElapsed() / 1e6;
            QTest::qWait(50);
            if (seen) {
                times.push_back(ms);
                return;
            }
            ++unseen;
        }
    };
    for (int round = 0; round < Rounds; ++round) {
        measure([&] { client.iconify(view); });
        measure([&] { client.moveToDesktop(view, 1); });
        measure([&] { client.leaveFullScreen(view); });
    }
    korvid.kill();
    korvid.waitForFinished(5000);
    if (times.size() < Rounds * 3) {
        ReportMissing("kiosk_regrab_ms", QStringLiteral("the window manager hid the view only "
                                                        "%1 times of %2")
                                             .arg(times.size())
                                             .arg(Rounds * 3));
        return;
    }
    std::sort(times.begin(), times.end());
    std::fprintf(stderr,
                 "kiosk: back in front after %.1f ms (median), %.1f ms (worst) of %zu; %d "
                 "hidings not seen and tried again\n",
                 times[times.size() / 2], times.back(), times.size(), unseen);
    ReportValue("kiosk_regrab_ms", times.back(), 1, "ms");
}
