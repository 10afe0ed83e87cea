// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "common/TestDir.h"

// A small one-colour PNG in dir, for tests that only need a real picture.
inline QString writePicture(TestDir &dir, const QString &name, const QSize &size = QSize(8, 8),
                            const QColor &colour = QColor(200, 40, 90))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Runs action on the next modal dialog, which must be a T, once it is up; a failed check
// closes it, so the modal loop never waits for ever.
template<typename T = QWidget, typename Action> void onModal(Action action)
{
    QTimer::singleShot(0, [action] {
        QTRY_VERIFY(qobject_cast<T *>(QApplication::activeModalWidget()));
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        action(dialog);
        if (QTest::currentTestFailed())
            dialog->close();
    });
}

// Runs action once the modal dialog is up; a failed check closes it, so the modal loop
// never waits for ever.
inline void whenShown(QWidget *dialog, const std::function<void()> &action)
{
    QTimer::singleShot(0, dialog, [dialog, action] {
        QTRY_VERIFY(dialog->isVisible());
        action();
        if (QTest::currentTestFailed())
            dialog->close();
    });
}
