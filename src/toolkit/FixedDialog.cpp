// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FixedDialog.h"

#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QTimer>

namespace {

class StateRefusal : public QObject
{
public:
    StateRefusal(QWidget *window, Qt::WindowStates states)
        : QObject(window)
        , m_states(states)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowStateChange && (window->windowState() & m_states))
            QTimer::singleShot(0, window, [window, states = m_states] {
                window->setWindowState(window->windowState() & ~states);
                window->show();
                window->raise();
                window->activateWindow();
            });
        return false;
    }

private:
    Qt::WindowStates m_states;
};

} // namespace

void RefuseWindowStates(QWidget *window, Qt::WindowStates states)
{
    window->installEventFilter(new StateRefusal(window, states));
}

void MakeFixedDialog(QDialog *dialog)
{
    const bool onTop = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    // Without CustomizeWindowHint the toolkit adds the buttons a window has by default.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                            | Qt::MSWindowsFixedSizeDialogHint;
    if (onTop)
        flags |= Qt::WindowStaysOnTopHint;
    dialog->setWindowFlags(flags);
    RefuseWindowStates(dialog, Qt::WindowMinimized | Qt::WindowMaximized);
    QLayout *layout = dialog->layout();
    if (!layout)
        return;
    if (dialog->minimumWidth() != dialog->maximumWidth()) {
        layout->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    // A width fixed by design: the height that its wrapped texts take at that width.
    layout->activate();
    dialog->setFixedHeight(layout->hasHeightForWidth()
                               ? layout->totalHeightForWidth(dialog->width())
                               : layout->totalSizeHint().height());
}
