// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileProgress.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include "files/FileOperation.h"

namespace {

constexpr int PollMs = 50;
constexpr int Steps = 1000;

} // namespace

void RunWithProgress(TFileOperation &operation, const QString &title, QWidget *parent)
{
    QProgressDialog progress(parent);
    progress.setWindowTitle(title);
    progress.setRange(0, Steps);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setWindowModality(Qt::WindowModal);

    QThread *worker = QThread::create([&operation] { operation.Run(); });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    const auto cancelling = QObject::connect(&progress, &QProgressDialog::canceled, &progress,
                                             [&operation] { operation.Cancel = true; });
    QTimer poll;
    poll.setInterval(PollMs);
    QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
        const int index = std::min<int>(operation.Current, int(operation.Items.size()) - 1);
        if (index >= 0)
            progress.setLabelText(
                QDir::toNativeSeparators(QFileInfo(operation.Items.at(index).Source).fileName()));
        const qint64 total = std::max<qint64>(operation.Total, 1);
        progress.setValue(int(std::min<qint64>(Steps, operation.Done * Steps / total)));
    });
    poll.start();
    worker->start();
    if (!worker->isFinished())
        loop.exec();
    worker->wait();
    delete worker;
    // Closing the window counts as Cancel to it; the work is over by now.
    QObject::disconnect(cancelling);
    progress.close();
}
