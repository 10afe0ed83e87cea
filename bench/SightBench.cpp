// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a large photograph in the maximised main window: how soon the first paint shows
// it, against djpeg decoding the same file, and the memory that first sight takes.
#include "WindowBench.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "MallocCounter.h"
#include "app/Main.h"
#include "display/TMultiMP.h"
#include "toolkit/TFileListBox.h"

namespace {

constexpr int Runs = 5;

struct Sight
{
    std::vector<double> ms;
    double peakOverShown = 0;
    QString failure;
};

// Alternates between the two photographs with the arrow keys, each time from a window at
// rest and nothing decoded ahead; the time runs from the key to the end of the first paint
// of the newly opened photograph.
Sight measureSight(TKorvidForm &form, const QStringList &photos, bool restFollows)
{
    Sight sight;
    double worstPeak = 0;
    for (int run = 0; run < Runs; ++run) {
        // To the other photograph, whichever is shown.
        const bool down = form.CurrentFile == photos.first();
        const QString next = photos.at(down ? 1 : 0);
        SpinUntil([] { return false; }, 300);
        bool painted = false;
        const auto connection = QObject::connect(form.Image1, &TPMultiMedia::OnPaint, [&] {
            if (!painted && form.CurrentFile == next && form.Image1->MediaWidth == 6000
                && !form.Image1->Picture().isEmpty())
                painted = true;
        });
        ResetHeapPeak();
        QElapsedTimer clock;
        clock.start();
        QKeyEvent key(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(form.FileListBox1, &key);
        const bool shown = SpinUntil([&] { return painted; }, 20000);
        const double ms = clock.nsecsElapsed() / 1e6;
        const std::size_t rise = HeapRise();
        QObject::disconnect(connection);
        if (!shown) {
            sight.failure = QStringLiteral("%1 was not painted within 20 s").arg(next);
            return sight;
        }
        sight.ms.push_back(ms);
        const double held = double(form.Image1->Picture().image().sizeInBytes());
        // The photograph shown before may be freed before the new one is decoded.
        worstPeak = std::max(worstPeak, double(rise) / held);
        // The rest read in the background finishes before the next run.
        if (restFollows && !SpinUntil([&] { return form.Image1->HasWholePicture(); }, 20000)) {
            sight.failure = QStringLiteral("the rest of %1 never arrived").arg(next);
            return sight;
        }
    }
    sight.peakOverShown = worstPeak;
    return sight;
}

double djpegMs(const QString &djpeg, const QString &photo)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        if (QProcess::execute(djpeg,
                              {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), photo})
            != 0)
            return -1;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

} // namespace

void RunSightBenchmarks(const QString &home)
{
    const char *const names[] = {"first_sight_fit_vs_djpeg", "first_sight_normal_vs_djpeg",
                                 "first_sight_peak_over_shown"};
    const auto missing = [&names](const QString &why) {
        for (const char *name : names)
            ReportMissing(name, why);
    };
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty())
        return missing(QStringLiteral("djpeg is missing (apt-get install libjpeg-turbo-progs)"));
    QTemporaryDir folder(home + QStringLiteral("/sight-XXXXXX"));
    QStringList photos;
    const QImage picture = BenchPicture(6000, 4000);
    for (int i = 0; i < 2; ++i) {
        QImage variant = picture.copy();
        variant.setPixel(i, i, qRgb(255, 255, 255));
        photos.append(QDir(folder.path()).filePath(QStringLiteral("photo%1.jpg").arg(i)));
        if (!variant.save(photos.last(), "JPEG", 90))
            return missing(QStringLiteral("cannot write the photographs"));
    }
    const std::unique_ptr<TKorvidForm> window =
        NewBenchWindow({photos.first()}, folder.path() + QStringLiteral("/config"));
    TKorvidForm &form = *window;
    form.showMaximized();
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    if (!SpinUntil(
            [&] {
                return form.windowHandle() && form.windowHandle()->isExposed()
                       && form.frameGeometry().width() >= screen.width() * 9 / 10
                       && form.frameGeometry().height() >= screen.height() * 9 / 10
                       && !form.FileListBox1->isLoading();
            },
            10000))
        return missing(QStringLiteral("the window was never maximised"));
    // A cold open: nothing is decoded ahead of the key.
    form.Image1->setPrefetch(nullptr);
    form.FileListBox1->setFileName(photos.first());
    form.FileListBox1->setFocus();
    SpinUntil([] { return false; }, 300);

    QTest::mouseClick(form.ProportionalSBtn, Qt::LeftButton);
    const Sight fit = measureSight(form, photos, false);
    QTest::mouseClick(form.NoneSBtn, Qt::LeftButton);
    const Sight normal = measureSight(form, photos, true);
    const double reference = djpegMs(djpeg, photos.first());
    form.close();
    if (reference <= 0)
        return missing(QStringLiteral("djpeg failed on the photograph"));
    std::fprintf(stderr, "first_sight: fit %.0f ms, normal %.0f ms, djpeg %.0f ms (medians)\n",
                 Median(fit.ms), Median(normal.ms), reference);
    if (fit.failure.isEmpty()) {
        ReportRatio("first_sight_fit_vs_djpeg", Median(fit.ms) / reference);
        ReportValue("first_sight_peak_over_shown", fit.peakOverShown, 3);
    } else {
        ReportMissing("first_sight_fit_vs_djpeg", fit.failure);
        ReportMissing("first_sight_peak_over_shown", fit.failure);
    }
    if (normal.failure.isEmpty())
        ReportRatio("first_sight_normal_vs_djpeg", Median(normal.ms) / reference);
    else
        ReportMissing("first_sight_normal_vs_djpeg", normal.failure);
}
