// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowBench.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "BenchFiles.h"
#include "app/Main.h"
#include "display/TMultiMP.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

constexpr int Runs = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Runs the event loop until done() holds or timeoutMs pass; false on timeout.
bool spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

void folderListBenchmark(TKorvidForm &form, const QString &home)
{
    QTemporaryDir folder(home + QStringLiteral("/huge-XXXXXX"));
    constexpr int Files = 100000;
    for (int i = 0; i < Files; ++i) {
        // Mixed names and cases, as a camera folder that grew over the years.
        const QString name =
            (i % 3 == 0 ? QStringLiteral("IMG_%1.JPG") : QStringLiteral("pic-%1.png"))
                .arg(i, 6, 10, QLatin1Char('0'));
        QFile file(QDir(folder.path()).filePath(name));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "folder_100k_list: cannot write the folder\n");
            return;
        }
    }
    std::vector<double> fills;
    qint64 worstGap = 0;
    for (int run = 0; run < Runs; ++run) {
        form.DirectoryListBox1->setDirectory(home);
        spinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000);

        QElapsedTimer clock;
        qint64 last = 0;
        qint64 gap = 0;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            gap = std::max(gap, now - last);
            last = now;
        });
        tick.start();
        clock.start();
        form.DirectoryListBox1->setDirectory(folder.path());
        spinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000);
        form.FileListBox1->viewport()->repaint();
        fills.push_back(double(clock.elapsed()));
        // Let the window settle, still watching how long it stops answering.
        spinUntil([&] { return clock.elapsed() > fills.back() + 100; }, 1000);
        tick.stop();
        worstGap = std::max(worstGap, gap);
        if (form.FileListBox1->count() != Files)
            std::fprintf(stderr, "folder_100k_list: listed %d files of %d\n",
                         form.FileListBox1->count(), Files);
    }
    std::printf("value folder_100k_list %.0f ms\n", median(fills));
    std::printf("value ui_block_max %lld ms\n", static_cast<long long>(worstGap));
    std::fflush(stdout);
}

void prefetchBenchmark(TKorvidForm &form, const QString &home)
{
    QTemporaryDir folder(home + QStringLiteral("/photos-XXXXXX"));
    const QImage picture = BenchPicture(6000, 4000);
    constexpr int Photos = 6;
    for (int i = 0; i < Photos; ++i) {
        // Each file its own picture, so nothing is shared between them.
        QImage variant = picture.copy();
        variant.setPixel(i, i, qRgb(255, 255, 255));
        if (!variant.save(QDir(folder.path()).filePath(QStringLiteral("photo%1.jpg").arg(i)),
                          "JPEG", 90)) {
            std::fprintf(stderr, "next_picture_prefetched: cannot write the photographs\n");
            return;
        }
    }
    form.SingleClick = true;
    form.StretchMode = smNormal;
    form.FileListBox1->setFileName(QDir(folder.path()).filePath(QStringLiteral("photo0.jpg")));
    spinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000);
    form.OpenIt(form.FileListBox1->FileName());
    form.FileListBox1->setFocus();

    bool painted = false;
    const auto connection =
        QObject::connect(form.Image1, &TPMultiMedia::OnPaint, [&] { painted = true; });
    std::vector<double> steps;
    for (int i = 1; i < Photos; ++i) {
        const QString next = QDir(folder.path()).filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!spinUntil([&] { return form.Image1->Prefetch()->isReady(next); }, 60000)) {
            std::fprintf(stderr, "next_picture_prefetched: %s was never prefetched\n",
                         qPrintable(next));
            break;
        }
        spinUntil([] { return false; }, 50); // a calm window before the key
        painted = false;
        QElapsedTimer clock;
        clock.start();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(form.FileListBox1, &down);
        spinUntil([&] { return painted && form.CurrentFile == next; }, 10000);
        steps.push_back(clock.nsecsElapsed() / 1e6);
    }
    QObject::disconnect(connection);
    std::printf("value next_picture_prefetched %.1f ms\n", median(steps));
    std::fflush(stdout);
}

void slideshowDriftBenchmark(TKorvidForm &form, const QString &home)
{
    QTemporaryDir folder(home + QStringLiteral("/show-XXXXXX"));
    const QImage picture = BenchPicture(4000, 3000);
    constexpr int Photos = 8;
    for (int i = 0; i < Photos; ++i) {
        QImage variant = picture.copy();
        variant.setPixel(i, i, qRgb(255, 255, 255));
        if (!variant.save(QDir(folder.path()).filePath(QStringLiteral("slide%1.jpg").arg(i)),
                          "JPEG", 90)) {
            std::fprintf(stderr, "slideshow_drift_percent: cannot write the slides\n");
            return;
        }
    }
    form.ShowTime = 1;
    form.FullScreen = false;
    form.UpdateOptions();
    form.FileListBox1->setFileName(QDir(folder.path()).filePath(QStringLiteral("slide0.jpg")));
    spinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000);

    // When each slide first shows: the end of the first paint after the file changed.
    constexpr int Slides = 100;
    std::vector<qint64> shown;
    QElapsedTimer clock;
    clock.start();
    QString painted;
    const auto connection = QObject::connect(form.Image1, &TPMultiMedia::OnPaint, [&] {
        if (form.ShowRunning && form.CurrentFile != painted) {
            painted = form.CurrentFile;
            shown.push_back(clock.elapsed());
        }
    });
    form.SlideShowStart();
    spinUntil([&] { return int(shown.size()) >= Slides; }, Slides * 3000);
    form.SlideShowStop();
    QObject::disconnect(connection);
    if (int(shown.size()) < Slides) {
        std::fprintf(stderr, "slideshow_drift_percent: only %d slides showed\n", int(shown.size()));
        return;
    }
    const double expected = (Slides - 1) * 1000.0;
    const double actual = double(shown.back() - shown.front());
    std::printf("value slideshow_drift_percent %.2f %%\n", (actual - expected) / expected * 100);
    std::fflush(stdout);
}

} // namespace

void RunWindowBenchmarks()
{
    QTemporaryDir home;
    // The window keeps its settings in the temporary home, and any message goes to the log.
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    SetMessageDlgScript([](const MessageDlgCall &call) {
        std::fprintf(stderr, "window benchmarks: message \"%s\"\n", qPrintable(call.text));
        return QMessageBox::Ok;
    });
    TKorvidForm form({home.path()});
    form.resize(900, 700);
    form.show();
    if (!spinUntil([&] { return form.isVisible() && form.windowHandle()->isExposed(); }, 10000))
        std::fprintf(stderr, "window benchmarks: the window was never shown\n");
    folderListBenchmark(form, home.path());
    prefetchBenchmark(form, home.path());
    slideshowDriftBenchmark(form, home.path());
    form.close();
    SetMessageDlgScript({});
}
