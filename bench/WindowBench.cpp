// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowBench.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "app/Main.h"
#include "display/TMultiMP.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

constexpr int Runs = 5;

// The longest the window went without answering a 1 ms timer while work ran, from the
// watch's making on.
class AnswerWatch
{
public:
    AnswerWatch()
    {
        m_tick.setInterval(1);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_gap = std::max(m_gap, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_tick.start();
    }
    qint64 elapsed() const { return m_clock.elapsed(); }
    qint64 gap() const { return m_gap; }

private:
    QElapsedTimer m_clock;
    QTimer m_tick;
    qint64 m_last = 0;
    qint64 m_gap = 0;
};

// Returns the worst time the window did not answer, or -1 when it could not be measured.
qint64 folderListBenchmark(TKorvidForm &form, const QString &home)
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
            ReportMissing("folder_100k_list", QStringLiteral("cannot write the folder"));
            return -1;
        }
    }
    std::vector<double> fills;
    qint64 worstGap = 0;
    QString failure;
    for (int run = 0; run < Runs; ++run) {
        form.DirectoryListBox1->setDirectory(home);
        if (!SpinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000)) {
            failure = QStringLiteral("the small folder never finished loading");
            break;
        }

        const AnswerWatch watch;
        form.DirectoryListBox1->setDirectory(folder.path());
        const bool loaded = SpinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000);
        form.FileListBox1->viewport()->repaint();
        fills.push_back(double(watch.elapsed()));
        // Let the window settle, still watching how long it stops answering.
        SpinUntil([&] { return watch.elapsed() > fills.back() + 100; }, 1000);
        worstGap = std::max(worstGap, watch.gap());
        if (!loaded || form.FileListBox1->count() != Files) {
            failure = QStringLiteral("listed %1 files of %2%3")
                          .arg(form.FileListBox1->count())
                          .arg(Files)
                          .arg(loaded ? QString() : QStringLiteral(" within 60 s"));
            break;
        }
    }
    if (!failure.isEmpty()) {
        ReportMissing("folder_100k_list", failure);
        return -1;
    }
    ReportValue("folder_100k_list", Median(fills), 0, "ms");
    return worstGap;
}

// Another program copies 10,000 files into the folder the window shows: how often the list
// reads the folder while it follows, and the worst the window stops answering meanwhile.
qint64 watchBurstBenchmark(TKorvidForm &form, const QString &home)
{
    constexpr int Files = 10000;
    const QTemporaryDir source(home + QStringLiteral("/camera-XXXXXX"));
    const QTemporaryDir target(home + QStringLiteral("/copy-XXXXXX"));
    const QByteArray contents(4096, 'x');
    for (int i = 0; i < Files; ++i) {
        QFile file(QDir(source.path())
                       .filePath(QStringLiteral("DSC_%1.JPG").arg(i, 5, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
            for (const char *name : {"watch_burst_rereads", "watch_burst_ui_block_max"})
                ReportMissing(name, QStringLiteral("cannot write the folder"));
            return -1;
        }
    }
    form.DirectoryListBox1->setDirectory(target.path());
    SpinUntil([&] { return !form.FileListBox1->isLoading(); }, 10000);
    const int before = form.FileListBox1->Readings();
    const AnswerWatch watch;
    QProcess copy;
    copy.start(QStringLiteral("cp"),
               {QStringLiteral("-r"), source.path() + QStringLiteral("/."), target.path()});
    const bool copied = SpinUntil([&] { return copy.state() == QProcess::NotRunning; }, 120000)
                        && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0;
    const qint64 end = watch.elapsed();
    // Readings still due after the copy, the longest wait between them included.
    const bool shown = copied
                       && SpinUntil(
                           [&] {
                               return watch.elapsed() > end + 3500
                                      && !form.FileListBox1->isLoading()
                                      && form.FileListBox1->count() == Files;
                           },
                           20000);
    // Away before the folders go, or the window would report the one it shows as gone.
    form.DirectoryListBox1->setDirectory(home);
    if (!shown) {
        const QString why = copied ? QStringLiteral("the list showed %1 files of %2")
                                         .arg(form.FileListBox1->count())
                                         .arg(Files)
                                   : QStringLiteral("cp failed");
        for (const char *name : {"watch_burst_rereads", "watch_burst_ui_block_max"})
            ReportMissing(name, why);
        return -1;
    }
    std::fprintf(stderr, "window benchmarks: the copy took %lld ms\n", static_cast<long long>(end));
    ReportValue("watch_burst_rereads", form.FileListBox1->Readings() - before, 0, "");
    ReportValue("watch_burst_ui_block_max", double(watch.gap()), 0, "ms");
    return watch.gap();
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
            ReportMissing("next_picture_prefetched",
                          QStringLiteral("cannot write the photographs"));
            return;
        }
    }
    form.SingleClick = true;
    form.StretchMode = smNormal;
    form.FileListBox1->setFileName(QDir(folder.path()).filePath(QStringLiteral("photo0.jpg")));
    SpinUntil([&] { return !form.FileListBox1->isLoading(); }, 60000);
    form.OpenIt(form.FileListBox1->FileName());
    form.FileListBox1->setFocus();
    QString failure;
    if (form.Image1->MediaWidth != 6000)
        failure = QStringLiteral("the first photograph did not open");

    bool painted = false;
    const auto connection =
        QObject::connect(form.Image1, &TPMultiMedia::OnPaint, [&] { painted = true; });
    std::vector<double> steps;
    for (int i = 1; i < Photos && failure.isEmpty(); ++i) {
        const QString next = QDir(folder.path()).filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!SpinUntil([&] { return form.Image1->Prefetch()->isReady(next); }, 60000)) {
            failure = QStringLiteral("%1 was never decoded ahead").arg(next);
            break;
        }
        SpinUntil([] { return false; }, 50); // a calm window before the key
        painted = false;
        QElapsedTimer clock;
        clock.start();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(form.FileListBox1, &down);
        if (!SpinUntil([&] { return painted && form.CurrentFile == next; }, 10000)) {
            failure = QStringLiteral("%1 was not shown within 10 s of the key").arg(next);
            break;
        }
        steps.push_back(clock.nsecsElapsed() / 1e6);
    }
    QObject::disconnect(connection);
    if (failure.isEmpty())
        ReportValue("next_picture_prefetched", Median(steps), 1, "ms");
    else
        ReportMissing("next_picture_prefetched", failure);
}

// Whether the show ran its course, and if not, what it was doing when it stopped.
QString showState(const TKorvidForm &form, int slides, int paints)
{
    return QStringLiteral("the show stopped after %1 slides: running %2, paused %3, on %4, "
                          "timer %5, %6 paints since the last new slide")
        .arg(slides)
        .arg(form.ShowRunning ? "yes" : "no", form.ShowPaused ? "yes" : "no",
             QFileInfo(form.CurrentFile).fileName(),
             form.SlideShowTimer->isActive() ? "running" : "stopped")
        .arg(paints);
}

void slideshowDriftBenchmark(const QString &home, const QString &lastMessage)
{
    QTemporaryDir folder(home + QStringLiteral("/show-XXXXXX"));
    const QImage picture = BenchPicture(4000, 3000);
    constexpr int Photos = 8;
    for (int i = 0; i < Photos; ++i) {
        QImage variant = picture.copy();
        variant.setPixel(i, i, qRgb(255, 255, 255));
        if (!variant.save(QDir(folder.path()).filePath(QStringLiteral("slide%1.jpg").arg(i)),
                          "JPEG", 90)) {
            ReportMissing("slideshow_drift_percent", QStringLiteral("cannot write the slides"));
            return;
        }
    }
    // A window of its own, opened on the folder as "korvid FOLDER" opens it, so nothing the
    // earlier benchmarks did in theirs decides whether this one measures.
    const std::unique_ptr<TKorvidForm> window =
        NewBenchWindow({folder.path()}, folder.path() + QStringLiteral("/config"));
    TKorvidForm &form = *window;
    form.resize(900, 700);
    form.show();
    const QString first = QDir(folder.path()).filePath(QStringLiteral("slide0.jpg"));
    if (!SpinUntil(
            [&] {
                return form.windowHandle()->isExposed() && !form.FileListBox1->isLoading()
                       && form.CurrentFile == first && form.Image1->MediaWidth == 4000;
            },
            60000)) {
        ReportMissing("slideshow_drift_percent",
                      QStringLiteral("the folder's first slide never showed"));
        return;
    }
    form.ShowTime = 1;
    form.FullScreen = false;
    form.UpdateOptions();

    // A slide shows when a paint first draws a picture other than the last one drawn; a
    // paint of the old picture while the next one loads does not count.
    constexpr int Slides = 100;
    constexpr int StallMs = 10000;
    std::vector<qint64> shown;
    QElapsedTimer clock;
    clock.start();
    qint64 lastKey = 0;
    int paints = 0;
    QString lastFile;
    const auto connection = QObject::connect(form.Image1, &TPMultiMedia::OnPaint, [&] {
        const QImage image = form.Image1->Picture().image();
        ++paints;
        // The rest of a picture arriving after its first sight is no new slide.
        if (form.ShowRunning && !image.isNull() && image.cacheKey() != lastKey
            && form.CurrentFile != lastFile) {
            lastKey = image.cacheKey();
            lastFile = form.CurrentFile;
            shown.push_back(clock.elapsed());
            paints = 0;
        }
    });
    form.SlideShowStart();
    SpinUntil(
        [&] {
            const qint64 last = shown.empty() ? 0 : shown.back();
            return int(shown.size()) >= Slides || clock.elapsed() - last > StallMs;
        },
        Slides * 3000);
    const QString state = showState(form, int(shown.size()), paints);
    form.SlideShowStop();
    QObject::disconnect(connection);
    if (int(shown.size()) < Slides) {
        ReportMissing("slideshow_drift_percent",
                      lastMessage.isEmpty()
                          ? state
                          : state + QStringLiteral("; last message \"%1\"").arg(lastMessage));
        return;
    }
    const double expected = (Slides - 1) * 1000.0;
    const double actual = double(shown.back() - shown.front());
    ReportValue("slideshow_drift_percent", (actual - expected) / expected * 100, 2, "%");
}

} // namespace

std::unique_ptr<TKorvidForm> NewBenchWindow(const QStringList &arguments,
                                            const QString &settingsDir)
{
    qputenv("XDG_CONFIG_HOME", settingsDir.toLocal8Bit());
    return std::make_unique<TKorvidForm>(arguments);
}

void RunWindowBenchmarks()
{
    QTemporaryDir home;
    // Any message goes to the log; the last one is named if a result cannot be measured.
    QString lastMessage;
    SetMessageDlgScript([&lastMessage](const MessageDlgCall &call) {
        std::fprintf(stderr, "window benchmarks: message \"%s\"\n", qPrintable(call.text));
        lastMessage = call.text;
        return QMessageBox::Ok;
    });
    {
        const std::unique_ptr<TKorvidForm> form =
            NewBenchWindow({home.path()}, home.path() + QStringLiteral("/config"));
        form->resize(900, 700);
        form->show();
        if (!SpinUntil([&] { return form->isVisible() && form->windowHandle()->isExposed(); },
                       10000)) {
            for (const char *name : {"folder_100k_list", "ui_block_max", "watch_burst_rereads",
                                     "next_picture_prefetched"})
                ReportMissing(name, QStringLiteral("the window was never shown"));
        } else {
            const qint64 listing = folderListBenchmark(*form, home.path());
            const qint64 burst = watchBurstBenchmark(*form, home.path());
            // The worst of both: reading a huge folder and following a burst of copies.
            if (listing < 0 || burst < 0)
                ReportMissing("ui_block_max", QStringLiteral("a window benchmark failed"));
            else
                ReportValue("ui_block_max", double(std::max(listing, burst)), 0, "ms");
            prefetchBenchmark(*form, home.path());
        }
        form->close();
    }
    slideshowDriftBenchmark(home.path(), lastMessage);
    RunZoomBenchmarks(home.path());
    RunSightBenchmarks(home.path());
    SetMessageDlgScript({});
}
