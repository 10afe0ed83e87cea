// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/Printers.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>

QPrinter *Printer()
{
    // Kept to the very end: a printer torn down after the application object could
    // still call into the gone platform plugin.
    static QPrinter *printer = new QPrinter(QPrinter::HighResolution);
    return printer;
}

QString PrinterProblem(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        return QStringLiteral("No printer is set up. Choose a printer, or a file to print to, "
                              "in Print Setup.");
    if (!printer.isValid())
        return QStringLiteral("The printer \"%1\" cannot be used.").arg(printer.printerName());
    return {};
}

bool RunPrinterSetup(QWidget *parent)
{
    QPrintDialog dialog(Printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // It only chooses the printer here; printing starts from the Print command.
    for (QDialogButtonBox *buttons : dialog.findChildren<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}
