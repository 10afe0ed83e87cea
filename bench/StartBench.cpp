// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowBench.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
    const char *const names[] = {"start_to_picture_vs_feh", "start_to_picture_normal_vs_feh"};
    const auto missing = [&names](const QString &why) {
        for (const char *name : names)
            ReportMissing(name, why);
    };
    QScreen *screen = QGuiApplication::primaryScreen();
    const QString feh = ensureFeh();
    if (feh.isEmpty())
        return missing(QStringLiteral("feh is not available"));
    QTemporaryDir work;
    const QString photo = QDir(work.path()).filePath(QStringLiteral("photo.jpg"));
    if (!writeMagentaPhoto(photo))
        return missing(QStringLiteral("cannot write the photograph"));
    // The program starts as a first-time user's would, with its own settings folder: in
    // normal mode as it comes, and once more with proportional mode chosen.
    QProcessEnvironment normal = QProcessEnvironment::systemEnvironment();
    normal.remove(QStringLiteral("QT_QPA_PLATFORM"));
    normal.insert(QStringLiteral("HOME"), work.path());
    normal.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path() + QStringLiteral("/config"));
    QProcessEnvironment fitted = normal;
    const QString fittedConfig = work.path() + QStringLiteral("/fitted");
    fitted.insert(QStringLiteral("XDG_CONFIG_HOME"), fittedConfig);
    QDir().mkpath(fittedConfig + QStringLiteral("/korvid"));
    QFile settings(fittedConfig + QStringLiteral("/korvid/KORVID.INI"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Korvid32]\nStretchMode=1\n") < 0)
        return missing(QStringLiteral("cannot write the settings"));
    settings.close();

    std::vector<double> ours, oursNormal, theirs;
    for (int run = 0; run < Runs; ++run) {
        const double a = timeToPicture(korvidProgram, {photo}, fitted, screen);
        const double b = timeToPicture(feh, {photo}, normal, screen);
        const double c = timeToPicture(korvidProgram, {photo}, normal, screen);
        if (a < 0 || b < 0 || c < 0)
            return missing(
                QStringLiteral("the photograph never appeared (%1)").arg(b < 0 ? "feh" : "korvid"));
        ours.push_back(a);
        theirs.push_back(b);
        oursNormal.push_back(c);
    }
    std::fprintf(stderr,
                 "start_to_picture: korvid proportional %.0f ms, normal %.0f ms, feh %.0f ms "
                 "(medians)\n",
                 median(ours), median(oursNormal), median(theirs));
    ReportRatio("start_to_picture_vs_feh", median(ours) / median(theirs));
    ReportRatio("start_to_picture_normal_vs_feh", median(oursNormal) / median(theirs));
}
