// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

// Freezes a widget's drawing for the life of the object, so a change that moves or
// resizes several controls shows only its end result; drawing always comes back, also
// when the change fails half-way.
class FreezeDrawing
{
public:
    explicit FreezeDrawing(QWidget *widget)
        : m_widget(widget)
        , m_wasEnabled(widget->updatesEnabled())
    {
        widget->setUpdatesEnabled(false);
    }
    ~FreezeDrawing()
    {
        if (m_widget && m_wasEnabled)
            m_widget->setUpdatesEnabled(true);
    }
    FreezeDrawing(const FreezeDrawing &) = delete;
    FreezeDrawing &operator=(const FreezeDrawing &) = delete;

private:
    QPointer<QWidget> m_widget;
    bool m_wasEnabled;
};
