// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Zooming a photograph in the maximised main window: what the zoom costs in memory and
// how long each step takes to show.
#include "WindowBench.h"

#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "MallocCounter.h"
#include "app/Main.h"
#include "display/TMultiMP.h"

namespace {

// A zoom that goes on past this is as far as anyone looks (the program's own limit).
constexpr int ZoomLimit = 8192;
constexpr int MaxClicks = 40;
constexpr int PaintTimeoutMs = 20000;

// Counts the display control's paints; each OnPaint comes at the end of one.
class PaintWatch
{
public:
    explicit PaintWatch(TPMultiMedia *display)
    {
        m_connection = QObject::connect(display, &TPMultiMedia::OnPaint, [this] { ++m_paints; });
    }
    ~PaintWatch() { QObject::disconnect(m_connection); }
    int paints() const { return m_paints; }

private:
    QMetaObject::Connection m_connection;
    int m_paints = 0;
};

bool reachedLimit(const QSize &size)
{
    return size.width() >= ZoomLimit || size.height() >= ZoomLimit;
}

// What one click on a tool button did.
enum class Step { Painted, Unchanged, Vanished, NoPaint };

// Clicks the button as the user would and, when the display changed size, runs the event
// loop until it has painted once more; *ms is the time from the click to the end of that
// paint. Without a change of size nothing needs painting, nor when the display shrank to
// nothing, and nothing is waited for.
Step clickAndPaint(QToolButton *button, const TPMultiMedia *display, const PaintWatch &watch,
                   double *ms = nullptr)
{
    const QSize size = display->size();
    const int paints = watch.paints();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(button, Qt::LeftButton);
    if (display->size() == size)
        return Step::Unchanged;
    if (display->size().isEmpty())
        return Step::Vanished;
    if (!SpinUntil([&] { return watch.paints() > paints; }, PaintTimeoutMs))
        return Step::NoPaint;
    if (ms)
        *ms = clock.nsecsElapsed() / 1e6;
    return Step::Painted;
}

} // namespace

void RunZoomBenchmarks(const QString &home)
{
    QTemporaryDir folder(home + QStringLiteral("/zoom-XXXXXX"));
    const QString photo = QDir(folder.path()).filePath(QStringLiteral("photo.jpg"));
    if (!folder.isValid() || !BenchPicture(6000, 4000).save(photo, "JPEG", 90)) {
        for (const char *name : {"zoom_peak_over_decoded", "zoom_step_ms"})
            ReportMissing(name, QStringLiteral("cannot write the photograph"));
        return;
    }
    // A first-time user's window, whatever the earlier benchmarks' windows saved.
    const std::unique_ptr<TKorvidForm> window =
        NewBenchWindow({photo}, folder.path() + QStringLiteral("/config"));
    TKorvidForm &form = *window;
    form.showMaximized();
    // Maximised means the window manager has given the window (nearly) the whole screen.
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    const bool shown = SpinUntil(
        [&] {
            return form.windowHandle() && form.windowHandle()->isExposed()
                   && form.frameGeometry().width() >= screen.width() * 9 / 10
                   && form.frameGeometry().height() >= screen.height() * 9 / 10;
        },
        10000);
    const QString failure = !shown ? QStringLiteral("the window was never maximised")
                            : form.Image1->MediaWidth != 6000
                                ? QStringLiteral("the photograph did not open")
                                : QString();
    if (!failure.isEmpty()) {
        for (const char *name : {"zoom_peak_over_decoded", "zoom_step_ms"})
            ReportMissing(name, failure);
        return;
    }
    SpinUntil([] { return false; }, 200); // the last resizes of the maximising settle

    PaintWatch watch(form.Image1);
    // Proportional mode fits the photograph to the window: the zoom starts from there.
    const int paints = watch.paints();
    QTest::mouseClick(form.ProportionalSBtn, Qt::LeftButton);
    if (!SpinUntil([&] { return watch.paints() > paints; }, PaintTimeoutMs)
        || !form.InSBtn->isEnabled()) {
        for (const char *name : {"zoom_peak_over_decoded", "zoom_step_ms"})
            ReportMissing(name, QStringLiteral("proportional mode showed nothing to zoom"));
        return;
    }
    const QSize fit = form.Image1->size();
    const double decoded = double(form.Image1->Picture().image().sizeInBytes());

    std::vector<double> steps;
    QString stepFailure;
    double peakRatio = -1;
    const QString noPaint =
        QStringLiteral("no paint within %1 s of a zoom click").arg(PaintTimeoutMs / 1000);
    // Two passes from fit to the limit, the second after zooming back out to fit.
    for (int pass = 0; pass < 2 && stepFailure.isEmpty(); ++pass) {
        // What the display keeps beside the picture for drawing it (made by the fitted
        // paint before the first click) counts as zooming's own.
        const std::size_t before = HeapInUse() - std::size_t(form.Image1->DrawingCacheBytes());
        ResetHeapPeak();
        for (int click = 0; click < MaxClicks && !reachedLimit(form.Image1->size()); ++click) {
            double ms = 0;
            const Step step = clickAndPaint(form.InSBtn, form.Image1, watch, &ms);
            if (step == Step::Unchanged)
                break; // as far as the program zooms
            if (step != Step::Painted) {
                stepFailure =
                    step == Step::NoPaint ? noPaint : QStringLiteral("Zoom In emptied the display");
                break;
            }
            steps.push_back(ms);
        }
        if (pass == 0)
            peakRatio = (double(HeapPeak() - before) + decoded) / decoded;
        // Back to fit: Zoom Out while it shrinks the display and keeps it at least the
        // window's size, then proportional mode for the exact fit.
        for (int click = 0; click < MaxClicks && stepFailure.isEmpty(); ++click) {
            const QSize size = form.Image1->size();
            if (size.width() <= fit.width() || size.height() <= fit.height())
                break;
            const Step step = clickAndPaint(form.OutSBtn, form.Image1, watch);
            if (step == Step::NoPaint)
                stepFailure = noPaint;
            if (step != Step::Painted)
                break;
        }
        if (stepFailure.isEmpty() && form.Image1->size() != fit
            && clickAndPaint(form.ProportionalSBtn, form.Image1, watch) == Step::NoPaint)
            stepFailure = noPaint;
    }
    if (steps.empty() && stepFailure.isEmpty())
        stepFailure = QStringLiteral("Zoom In did not enlarge the picture");
    if (peakRatio < 0 || steps.empty())
        ReportMissing("zoom_peak_over_decoded", stepFailure);
    else
        ReportValue("zoom_peak_over_decoded", peakRatio, 3);
    if (!stepFailure.isEmpty())
        ReportMissing("zoom_step_ms", stepFailure);
    else
        ReportValue("zoom_step_ms", Median(steps), 1, "ms");
    form.close();
}
