// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowBench.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>

#include "BenchReport.h"

namespace {

constexpr int Runs = 5;

// A photograph-sized picture of a colour nothing else on the screen has, with noise so
// the decoder has real work.
bool writeMagentaPhoto(const QString &path)
{
    QImage photo(6000, 4000, QImage::Format_RGB32);
    std::minstd_rand noise(7);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int n = int(noise() % 13) - 6;
            line[x] = qRgb(249 + n / 2, 6 + n, 249 - n / 2);
        }
    }
    return photo.save(path, "JPEG", 90);
}

// Whether a good part of the screen shows the photograph.
bool photoOnScreen(QScreen *screen)
{
    const QImage shot = screen->grabWindow(0).toImage();
    int hits = 0;
    for (int y = 0; y < shot.height(); y += 4) {
        for (int x = 0; x < shot.width(); x += 4) {
            const QRgb p = shot.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) > 200)
                ++hits;
        }
    }
    return hits > 2000;
}

QString ensureFeh()
{
    QString feh = QStandardPaths::findExecutable(QStringLiteral("feh"));
    if (!feh.isEmpty())
        return feh;
    std::fprintf(stderr, "start_to_picture_vs_feh: installing feh for the reference\n");
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (geteuid() == 0)
        install.start(QStringLiteral("apt-get"), {"install", "-y", "-q", "feh"});
    else
        install.start(QStringLiteral("sudo"), {"-n", "apt-get", "install", "-y", "-q", "feh"});
    install.waitForFinished(600000);
    return QStandardPaths::findExecutable(QStringLiteral("feh"));
}

// Milliseconds from starting the program to the photograph on screen; -1 on failure.
double timeToPicture(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &environment, QScreen *screen)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    double elapsed = -1;
    while (clock.elapsed() < 30000 && process.state() != QProcess::NotRunning) {
        if (photoOnScreen(screen)) {
            elapsed = clock.nsecsElapsed() / 1e6;
            break;
        }
    }
    process.kill();
    process.waitForFinished(5000);
    // The next run starts from a screen without the photograph.
    QElapsedTimer settle;
    settle.start();
    while (photoOnScreen(screen) && settle.elapsed() < 5000)
        QThread::msleep(10);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

void RunStartBenchmark(const QString &korvidProgram)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QString feh = ensureFeh();
    if (feh.isEmpty()) {
        ReportMissing("start_to_picture_vs_feh", QStringLiteral("feh is not available"));
        return;
    }
    QTemporaryDir work;
    const QString photo = QDir(work.path()).filePath(QStringLiteral("photo.jpg"));
    if (!writeMagentaPhoto(photo)) {
        ReportMissing("start_to_picture_vs_feh", QStringLiteral("cannot write the photograph"));
        return;
    }
    // The program starts as a first-time user's would, with its own settings folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("HOME"), work.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path() + QStringLiteral("/config"));

    std::vector<double> ours, theirs;
    for (int run = 0; run < Runs; ++run) {
        const double a = timeToPicture(korvidProgram, {photo}, environment, screen);
        const double b = timeToPicture(feh, {photo}, environment, screen);
        if (a < 0 || b < 0) {
            ReportMissing(
                "start_to_picture_vs_feh",
                QStringLiteral("the photograph never appeared (%1)").arg(a < 0 ? "korvid" : "feh"));
            return;
        }
        ours.push_back(a);
        theirs.push_back(b);
    }
    std::fprintf(stderr, "start_to_picture_vs_feh: korvid %.0f ms, feh %.0f ms (medians)\n",
                 median(ours), median(theirs));
    ReportRatio("start_to_picture_vs_feh", median(ours) / median(theirs));
}
