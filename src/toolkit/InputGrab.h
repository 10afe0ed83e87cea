// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Holds keyboard and mouse for one window, so no key or click reaches another program.
// A window can only take them once the display shows it, so the grab is tried again
// every few milliseconds until it holds (or for five seconds). Taking them for another
// window of the program moves the hold without a gap; nothing is let go on the way.
class InputGrab : public QObject
{
    Q_OBJECT
public:
    explicit InputGrab(QObject *parent = nullptr);

    void grab(QWidget *window);
    void release();
    bool holding() const { return m_holding; }
    bool wanted() const { return !m_window.isNull(); }

private:
    void attempt();

    QPointer<QWidget> m_window;
    QTimer m_retry;
    int m_attempts = 0;
    bool m_holding = false;
};
