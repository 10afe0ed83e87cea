// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FixedDialog.h"

#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QTimer>

namespace {

// Some window managers draw minimise and maximise buttons on every frame, whatever the
// window asks for; a fixed dialog minimised by one would leave the program waiting for an
// answer nobody can see. It comes back at once instead.
class StayUp : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowStateChange
            && (dialog->isMinimized() || dialog->isMaximized()))
            QTimer::singleShot(0, dialog, [dialog] {
                dialog->setWindowState(Qt::WindowNoState);
                dialog->show();
                dialog->raise();
                dialog->activateWindow();
            });
        return false;
    }
};

} // namespace

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
    dialog->installEventFilter(new StayUp(dialog));
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
