// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Printing: the layout arithmetic and dialog, and real prints to PDF files read back with
// pdftoppm.
#include <QApplication>
#include <QCheckBox>
#include <QDebug>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

#include "common/ImageCompare.h"
#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "display/TMultiMP.h"
#include "printing/PrintConfigDlg.h"
#include "printing/PrintLayout.h"
#include "printing/Printers.h"
#include "toolkit/MessageDlg.h"

namespace {

constexpr int Dpi = 300;

// The current printer made a PDF file at 300 dots per inch without margins.
void printToPdf(const QString &file, QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    QPrinter *printer = Printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setResolution(Dpi);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(orientation);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0));
}

// The PDF's first page as an image at the printer's resolution; null without the renderer
// (pdftoppm or pdftocairo, both of poppler-utils).
QImage renderPdf(const QString &pdf, const QString &renderer = QStringLiteral("pdftoppm"))
{
    const QString tool = QStandardPaths::findExecutable(renderer);
    if (tool.isEmpty())
        return {};
    const QString prefix = pdf + QStringLiteral("-") + renderer;
    QProcess::execute(tool, {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-png"),
                             QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// The bounding box of the pixels that are not white.
QRect inkBox(const QImage &page)
{
    QRect box;
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (qRed(line[x]) < 200 || qGreen(line[x]) < 200 || qBlue(line[x]) < 200)
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

bool near(const QRect &actual, const QRect &expected, int slack = 3)
{
    return std::abs(actual.left() - expected.left()) <= slack
           && std::abs(actual.top() - expected.top()) <= slack
           && std::abs(actual.right() - expected.right()) <= slack
           && std::abs(actual.bottom() - expected.bottom()) <= slack;
}

QImage redBitmap()
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }
    void cleanup() { SetMessageDlgScript({}); }

    void layoutRectangles()
    {
        const auto rect = [](int mode, int iw, int ih, bool center, int scale = 1) {
            return ComputePrintRect(mode, 2400, 3200, iw, ih, scale, center);
        };
        QCOMPARE(rect(pmProportional, 800, 600, true), TPrintRect({0, 700, 2400, 2500}));
        QCOMPARE(rect(pmProportional, 600, 1200, true), TPrintRect({400, 0, 2000, 3200}));
        QCOMPARE(rect(pmFillPage, 10, 10, true), TPrintRect({0, 0, 2400, 3200}));
        QCOMPARE(rect(pmOriginal, 1000, 700, false), TPrintRect({0, 0, 1000, 700}));
        // Odd sizes lose a pixel when centred.
        QCOMPARE(rect(pmOriginal, 801, 600, true), TPrintRect({800, 1300, 1600, 1900}));
        QCOMPARE(rect(pmRescale, 700, 500, false, 3), TPrintRect({0, 0, 2100, 1500}));
        // No picture: its size passes through.
        QCOMPARE(rect(pmProportional, 0, 0, false), TPrintRect({0, 0, 0, 0}));
        QCOMPARE(rect(7, 100, 100, false), TPrintRect({0, 0, 0, 0}));
        // A tie of the two ratios fills the width.
        QCOMPARE(rect(pmProportional, 1200, 1600, false), TPrintRect({0, 0, 2400, 3200}));

        QCOMPARE(FitScaleFactor(4, 700, 500, 2400, 3200), 3);
        QCOMPARE(FitScaleFactor(9, 3000, 100, 2400, 3200), 1);
        QCOMPARE(PreviewImageRect(QRect(8, 8, 140, 180), 2400, 3200, {0, 700, 2400, 2500}),
                 QRect(8, 47, 140, 102));
    }

    void dialogStatesAndScaleBar()
    {
        Printer()->setPageOrientation(QPageLayout::Portrait);
        TPrintConfigDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Configure Printer"));
        dialog.PageWidth = 2400;
        dialog.PageHeight = 3200;
        dialog.ImageWidth = 700;
        dialog.ImageHeight = 500;
        dialog.show();
        // A new dialog: proportional and centred, the scale at 1 and greyed.
        QVERIFY(dialog.ProportionalRB->isChecked());
        QVERIFY(dialog.CenterCB->isChecked());
        QVERIFY(!dialog.ScaleSB->isEnabled());
        QCOMPARE(dialog.ScaleSB->value(), 1);
        QCOMPARE(dialog.PaperShape->size(), QSize(140, 180));
        QCOMPARE(dialog.PrintLeft, 0);
        QCOMPARE(dialog.PrintRight, 2400);

        // Rescale: moving the bar to 4 steps back to 3, which fits.
        dialog.ScaleRB->click();
        QVERIFY(dialog.ScaleSB->isEnabled());
        QCOMPARE(dialog.PrintRight - dialog.PrintLeft, 700);
        dialog.ScaleSB->setValue(4);
        QCOMPARE(dialog.ScaleSB->value(), 3);
        QCOMPARE(dialog.ScaleFactor, 3);
        QCOMPARE(dialog.ScaleLabel->text(), QStringLiteral("3X"));
        QCOMPARE(dialog.PrintRight - dialog.PrintLeft, 2100);
        // Uncentred: from the corner; fill page ignores centring.
        dialog.CenterCB->click();
        QCOMPARE(dialog.PrintLeft, 0);
        QCOMPARE(dialog.PrintBottom, 1500);
        dialog.CenterCB->click();
        dialog.FullFitRB->click();
        QVERIFY(!dialog.ScaleSB->isEnabled());
        QCOMPARE(dialog.PrintRight, 2400);
        QCOMPARE(dialog.PrintBottom, 3200);
        QCOMPARE(dialog.ImageShape->geometry(), QRect(8, 8, 140, 180));

        // A picture wider than the page: any position ends at 1.
        dialog.ImageWidth = 3000;
        dialog.ScaleRB->click();
        dialog.ScaleSB->setValue(7);
        QCOMPARE(dialog.ScaleSB->value(), 1);
        QCOMPARE(dialog.ScaleLabel->text(), QStringLiteral("1X"));
        QVERIFY(dialog.PrintRight - dialog.PrintLeft > 2400);
    }

    void picturesLandWhereLaidOut()
    {
        TestDir dir;
        TPMultiMedia control;
        QPrinter *printer = Printer();

        // No picture: no job, no file.
        printToPdf(dir.filePath(QStringLiteral("none.pdf")));
        QVERIFY(control.PrintPicture(printer, 0, 0, 100, 100));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("none.pdf"))));

        // A 640 x 480 bitmap stretched into 0, 700, 2400, 2500.
        control.setPicture(TPicture::fromBitmap(redBitmap()));
        const QString stretched = dir.filePath(QStringLiteral("stretched.pdf"));
        printToPdf(stretched);
        QVERIFY(std::abs(printer->width() - 2480) <= 1);
        QVERIFY(control.PrintPicture(printer, 0, 700, 2400, 1800));
        const QImage page = renderPdf(stretched);
        if (page.isNull())
            QSKIP("pdftoppm is not installed (poppler-utils)");
        QVERIFY(std::abs(page.width() - 2480) <= 1 && std::abs(page.height() - 3508) <= 1);
        QVERIFY2(near(inkBox(page), QRect(0, 700, 2400, 1800)),
                 qPrintable(QStringLiteral("%1").arg(QVariant(inkBox(page)).toString())));
        const QColor middle = page.pixelColor(1200, 1600);
        QVERIFY(middle.red() > 240 && middle.green() < 15 && middle.blue() < 15);

        // Width and height 0: the picture's own size at the corner given.
        const QString own = dir.filePath(QStringLiteral("own.pdf"));
        printToPdf(own);
        QVERIFY(control.PrintPicture(printer, 100, 200, 0, 0));
        QVERIFY(near(inkBox(renderPdf(own)), QRect(100, 200, 640, 480)));

        // A metafile is drawn as vectors into its rectangle.
        control.setMediaName(QDir(TestDataDir()).filePath(QStringLiteral("shapes.wmf")));
        QCOMPARE(control.Picture().kind(), TPicture::Metafile);
        const QString vectors = dir.filePath(QStringLiteral("vectors.pdf"));
        printToPdf(vectors);
        QVERIFY(control.PrintPicture(printer, 600, 900, 1200, 1400));
        const QRect ink = inkBox(renderPdf(vectors));
        QVERIFY(QRect(597, 897, 1206, 1406).contains(ink));
        QVERIFY(ink.width() > 600 && ink.height() > 700);

        // A printer that cannot start the job says so.
        printer->setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
        QString error;
        QVERIFY(!control.PrintPicture(printer, 0, 0, 10, 10, &error));
        QVERIFY(!error.isEmpty());
    }

    // A picture with hard edges prints as its own pixels, not as a JPEG copy: at its original
    // size every pixel is the picture's, and enlarged four times every pixel is within one
    // level of the picture's pixels repeated.
    void printsAreLossless()
    {
        TestDir dir;
        QImage picture(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const int band = (x / 3 + y / 5) % 3;
                picture.setPixel(x, y,
                                 band == 0   ? qRgb(200, 20, 40)
                                 : band == 1 ? qRgb(20, 180, 60)
                                             : qRgb(250, 250, 10));
            }
        }
        TPMultiMedia control;
        control.setPicture(TPicture::fromBitmap(picture));
        QPrinter *printer = Printer();
        const QPoint at(100, 200);

        // pdftoppm's raster engine lets an image's edge pixels bleed by a level or two even at
        // one pixel per pixel; poppler's cairo renderer places them exactly.
        const QString original = dir.filePath(QStringLiteral("original.pdf"));
        printToPdf(original);
        QVERIFY(control.PrintPicture(printer, at.x(), at.y(), 0, 0));
        const QImage exact = renderPdf(original, QStringLiteral("pdftocairo"));
        if (exact.isNull())
            QSKIP("pdftocairo is not installed (poppler-utils)");
        QCOMPARE(MaxDifference(exact.copy(QRect(at, picture.size())), picture), 0);

        // Enlarged four times (Rescale 4X): pdftoppm repeats each pixel from that factor on,
        // as a printer does, so the page holds the picture's pixels four times over.
        const QString rescaled = dir.filePath(QStringLiteral("rescaled.pdf"));
        printToPdf(rescaled);
        const QRect target(at, picture.size() * 4);
        QVERIFY(
            control.PrintPicture(printer, target.x(), target.y(), target.width(), target.height()));
        const QImage page = renderPdf(rescaled);
        const int worst =
            MaxDifference(page.copy(target), picture.scaled(target.size(), Qt::IgnoreAspectRatio));
        QVERIFY2(worst >= 0 && worst <= 1,
                 qPrintable(QStringLiteral("%1 levels apart").arg(worst)));
    }

    // File > Print through the system's print server to its PDF printer: one page, without
    // a document title, the photograph where the layout dialog put it on the paper.
    void printsThroughThePrintServer()
    {
        const QString queue = QStringLiteral("korvid-pdf");
        const QDir out(QStringLiteral("/tmp/korvid-cups-pdf"));
        if (QProcess::execute(QStringLiteral("lpstat"), {QStringLiteral("-p"), queue}) != 0)
            QSKIP("no print server with the korvid-pdf printer (tools/start-print-server.sh "
                  "starts one)");
        const QStringList before = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);

        TestDir dir;
        writePicture(dir, QStringLiteral("photo.png"), QSize(3000, 2000), Qt::darkBlue);
        auto form = shownForm({dir.filePath(QStringLiteral("photo.png"))});
        QStringList messages;
        SetMessageDlgScript([&messages](const MessageDlgCall &call) {
            messages.append(call.text);
            return QMessageBox::Ok;
        });
        QPrinter *printer = Printer();
        printer->setOutputFileName(QString());
        printer->setOutputFormat(QPrinter::NativeFormat);
        printer->setPrinterName(queue);
        printer->setPageOrientation(QPageLayout::Portrait);
        QVERIFY(printer->isValid());

        QRect laid;
        // The photograph enlarged to the page's width and centred, as the dialog opens.
        onModal<TPrintConfigDlg>([&laid](TPrintConfigDlg *dialog) {
            QVERIFY(dialog->ProportionalRB->isChecked() && dialog->CenterCB->isChecked());
            laid = QRect(QPoint(dialog->PrintLeft, dialog->PrintTop),
                         QPoint(dialog->PrintRight - 1, dialog->PrintBottom - 1));
            dialog->OKBtn->click();
        });
        form->File1Click();
        QVERIFY(form->Print1->isEnabled());
        form->Print1->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.value(0)));
        QVERIFY(laid.isValid());

        QStringList made;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(made = out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time)).isEmpty()
                && made.first() != before.value(0) && !before.contains(made.first()),
            60000);
        // The file is there from the job's start; it is whole once the queue is empty.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&queue] {
                QProcess jobs;
                jobs.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
                return jobs.waitForFinished(10000) && jobs.readAllStandardOutput().isEmpty();
            }(),
            60000);
        const QString pdf = out.filePath(made.first());
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(20000));
        const QString about = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(about.contains(QRegularExpression(QStringLiteral("\\nPages:\\s+1\\n"))),
                 qPrintable(about));
        // The job went without a name; cups-pdf writes that as "()".
        const QString title = QRegularExpression(QStringLiteral("^Title:[ \\t]*(.*)$"),
                                                 QRegularExpression::MultilineOption)
                                  .match(about)
                                  .captured(1)
                                  .trimmed();
        QVERIFY2(title.isEmpty() || title == QLatin1String("()"), qPrintable(title));

        // On paper the printable area starts at the printer's margins.
        const QImage page = renderPdf(pdf);
        if (page.isNull())
            QSKIP("pdftoppm is not installed (poppler-utils)");
        const QPoint margin =
            printer->pageLayout().paintRectPixels(printer->resolution()).topLeft();
        const QRect ink = inkBox(page);
        // Laid out in the printer's dots, looked at in the 300 dots per inch of the render.
        const double toRender = double(Dpi) / printer->resolution();
        const QRect expected(
            QPoint(qRound((laid.left() + margin.x()) * toRender),
                   qRound((laid.top() + margin.y()) * toRender)),
            QSize(qRound(laid.width() * toRender), qRound(laid.height() * toRender)));
        QString shown;
        QDebug(&shown) << ink << "where" << expected << "was laid out";
        QVERIFY2(near(ink, expected, 4), qPrintable(shown));
    }

    void printCommandOfTheMainWindow()
    {
        TestDir dir;
        writePicture(dir, QStringLiteral("wide.png"), QSize(300, 100), Qt::blue);
        auto form = shownForm({dir.filePath(QStringLiteral("wide.png"))});
        QVERIFY(form->HasPicture);

        // Printing to a file without a file: a message, no dialog. (An empty file name sets
        // the printer back to the system's printer, so it goes first.)
        Printer()->setOutputFileName(QString());
        Printer()->setOutputFormat(QPrinter::PdfFormat);
        QStringList messages;
        SetMessageDlgScript([&](const MessageDlgCall &call) {
            messages.append(call.text);
            return QMessageBox::Ok;
        });
        form->PrintIt();
        QCOMPARE(messages.size(), 1);

        // Cancel in the layout dialog prints nothing.
        const QString cancelled = dir.filePath(QStringLiteral("cancelled.pdf"));
        printToPdf(cancelled, QPageLayout::Landscape);
        const auto answer = [](bool ok, const std::function<void(TPrintConfigDlg *)> &check) {
            onModal<TPrintConfigDlg>([ok, check](TPrintConfigDlg *dialog) {
                check(dialog);
                (ok ? dialog->OKBtn : dialog->CancelBtn)->click();
            });
        };
        answer(false, [](TPrintConfigDlg *) {});
        form->PrintIt();
        QVERIFY(!QFileInfo::exists(cancelled));

        // After choosing landscape the dialog measures the landscape page.
        const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
        printToPdf(printed, QPageLayout::Landscape);
        QSize pageSize;
        answer(true, [&pageSize](TPrintConfigDlg *dialog) {
            pageSize = QSize(dialog->PageWidth, dialog->PageHeight);
            QVERIFY(std::abs(dialog->PageWidth - 3508) <= 1);
            QVERIFY(std::abs(dialog->PageHeight - 2480) <= 1);
            QCOMPARE(dialog->ImageWidth, 300);
            QCOMPARE(dialog->PaperShape->size(), QSize(140, 100));
        });
        form->PrintIt();
        const QImage page = renderPdf(printed);
        if (page.isNull())
            QSKIP("pdftoppm is not installed (poppler-utils)");
        // Proportional and centred: 3508 / 300 < 2480 / 100, so the width fills.
        const TPrintRect laid = ComputePrintRect(pmProportional, pageSize.width(),
                                                 pageSize.height(), 300, 100, 0, true);
        QCOMPARE(laid.Right - laid.Left, pageSize.width());
        QVERIFY(near(inkBox(page),
                     QRect(QPoint(laid.Left, laid.Top), QPoint(laid.Right - 1, laid.Bottom - 1))));

        // The setup dialog works on the current printer; Cancel changes nothing.
        onModal<QPrintDialog>([](QPrintDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Print Setup"));
            QCOMPARE(dialog->printer(), Printer());
            const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
            QVERIFY(std::any_of(buttons.begin(), buttons.end(), [](const QPushButton *button) {
                return button->text() == QLatin1String("OK");
            }));
            dialog->reject();
        });
        form->PrintSetup1Click();
        QCOMPARE(Printer()->pageLayout().orientation(), QPageLayout::Landscape);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
