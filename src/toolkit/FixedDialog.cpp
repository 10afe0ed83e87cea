// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FixedDialog.h"

#include <QDialog>
#include <QLayout>

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
