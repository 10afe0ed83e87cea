// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/InputGrab.h"

#include <QWindow>

namespace {

constexpr int RetryMs = 10;
constexpr int MaxAttempts = 500;

} // namespace

InputGrab::InputGrab(QObject *parent)
    : QObject(parent)
{
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &InputGrab::attempt);
}

void InputGrab::grab(QWidget *window)
{
    m_window = window;
    m_attempts = 0;
    m_holding = false;
    attempt();
}

void InputGrab::attempt()
{
    QWindow *handle = m_window ? m_window->windowHandle() : nullptr;
    if (handle && m_window->isVisible() && handle->setKeyboardGrabEnabled(true)
        && handle->setMouseGrabEnabled(true)) {
        m_holding = true;
        m_retry.stop();
        return;
    }
    if (!m_window || !m_window->isVisible() || ++m_attempts >= MaxAttempts)
        m_retry.stop();
    else if (!m_retry.isActive())
        m_retry.start();
}

void InputGrab::release()
{
    m_retry.stop();
    if (m_window && m_holding) {
        if (QWindow *handle = m_window->windowHandle()) {
            handle->setMouseGrabEnabled(false);
            handle->setKeyboardGrabEnabled(false);
        }
    }
    m_window.clear();
    m_holding = false;
}
