// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintConfigDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>

#include "printing/PrintLayout.h"
#include "printing/Printers.h"
#include "toolkit/FixedDialog.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/WindowPlacement.h"

namespace {

constexpr QSize ClientSize(410, 193);
constexpr int PaperWidth = 140;
constexpr int PortraitHeight = 180;
constexpr int LandscapeHeight = 100;
constexpr int HelpContext = 10;

} // namespace

TShape::TShape(const QColor &fill, QWidget *parent)
    : QWidget(parent)
    , m_fill(fill)
{}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(m_fill);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TPrintConfigDlg::TPrintConfigDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintConfigDlg"));
    setWindowTitle(QStringLiteral("Configure Printer"));
    setFixedSize(ClientSize);
    MakeFixedDialog(this);
    QFont bold = font();
    bold.setPointSize(8);
    bold.setBold(true);
    setFont(bold);

    PaperShape = new TShape(Qt::white, this);
    PaperShape->setObjectName(QStringLiteral("PaperShape"));
    PaperShape->setGeometry(8, 8, PaperWidth, PortraitHeight);
    ImageShape = new TShape(QColor(0, 128, 128), this);
    ImageShape->setObjectName(QStringLiteral("ImageShape"));
    ImageShape->setGeometry(22, 24, 83, 129);
    const auto radio = [this](const char *name, const QString &caption, int top) {
        auto *button = new QRadioButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->move(167, top);
        button->adjustSize();
        return button;
    };
    OriginalRB = radio("OriginalRB", QStringLiteral("Original Size"), 16);
    ProportionalRB = radio("ProportionalRB", QStringLiteral("Proportional Fit Page"), 40);
    FullFitRB = radio("FullFitRB", QStringLiteral("Fill Page"), 64);
    ScaleRB = radio("ScaleRB", QStringLiteral("Rescale Image"), 88);
    ScaleLabel = new QLabel(QStringLiteral("1X"), this);
    ScaleLabel->setObjectName(QStringLiteral("ScaleLabel"));
    ScaleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont large = bold;
    large.setPointSize(12);
    ScaleLabel->setFont(large);
    ScaleLabel->setGeometry(152, 112, 41, 25);
    ScaleSB = new QScrollBar(Qt::Horizontal, this);
    ScaleSB->setObjectName(QStringLiteral("ScaleSB"));
    ScaleSB->setGeometry(200, 117, 105, 12);
    ScaleSB->setRange(1, 10);
    ScaleSB->setPageStep(1);
    ScaleSB->setValue(1);
    CenterCB = new QCheckBox(QStringLiteral("Center on Page"), this);
    CenterCB->setObjectName(QStringLiteral("CenterCB"));
    CenterCB->move(176, 152);
    CenterCB->adjustSize();
    const auto button = [this](const char *name, const QString &caption,
                               QStyle::StandardPixmap icon, int top) {
        auto *push = new QPushButton(style()->standardIcon(icon), caption, this);
        push->setObjectName(QLatin1String(name));
        push->setGeometry(324, top, 80, 27);
        return push;
    };
    OKBtn = button("OKBtn", QStringLiteral("OK"), QStyle::SP_DialogOkButton, 8);
    OKBtn->setDefault(true);
    CancelBtn = button("CancelBtn", QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton, 40);
    HelpBtn = button("HelpBtn", QStringLiteral("&Help"), QStyle::SP_DialogHelpButton, 72);

    connect(OriginalRB, &QRadioButton::clicked, this, &TPrintConfigDlg::OriginalRBClick);
    connect(ProportionalRB, &QRadioButton::clicked, this, &TPrintConfigDlg::ProportionalRBClick);
    connect(FullFitRB, &QRadioButton::clicked, this, &TPrintConfigDlg::FullFitRBClick);
    connect(ScaleRB, &QRadioButton::clicked, this, &TPrintConfigDlg::ScaleRBClick);
    connect(ScaleSB, &QScrollBar::valueChanged, this, &TPrintConfigDlg::ScaleSBChange);
    connect(CenterCB, &QCheckBox::clicked, this, &TPrintConfigDlg::CenterCBClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [] { OpenHelpTopic(HelpContext); });
    FormCreate();
}

void TPrintConfigDlg::FormCreate()
{
    ProportionalRB->setChecked(true);
    CenterCB->setChecked(true);
    setScaleControls(false);
    PrintMode = pmProportional;
}

void TPrintConfigDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPrintConfigDlg::FormShow()
{
    fitScale();
    UpdateSize();
    OKBtn->setFocus();
    CenterOnScreen(this);
}

void TPrintConfigDlg::setScaleControls(bool enabled)
{
    ScaleSB->setEnabled(enabled);
    ScaleLabel->setEnabled(enabled);
}

void TPrintConfigDlg::fitScale()
{
    // The bar steps back until the enlarged picture fits, never below 1.
    const QSignalBlocker blocker(ScaleSB);
    while (ScaleSB->value() > ScaleSB->minimum()
           && (qint64(ImageWidth) * ScaleFactor > PageWidth
               || qint64(ImageHeight) * ScaleFactor > PageHeight)) {
        ScaleSB->setValue(ScaleSB->value() - 1);
        ScaleFactor = ScaleSB->value();
    }
}

void TPrintConfigDlg::OriginalRBClick()
{
    PrintMode = pmOriginal;
    setScaleControls(false);
    UpdateSize();
}

void TPrintConfigDlg::ProportionalRBClick()
{
    PrintMode = pmProportional;
    setScaleControls(false);
    UpdateSize();
}

void TPrintConfigDlg::FullFitRBClick()
{
    PrintMode = pmFillPage;
    setScaleControls(false);
    UpdateSize();
}

void TPrintConfigDlg::ScaleRBClick()
{
    PrintMode = pmRescale;
    setScaleControls(true);
    ScaleFactor = ScaleSB->value();
    UpdateSize();
}

void TPrintConfigDlg::CenterCBClick()
{
    UpdateSize();
}

void TPrintConfigDlg::ScaleSBChange()
{
    ScaleFactor = ScaleSB->value();
    fitScale();
    ScaleLabel->setText(QString::number(ScaleFactor) + u'X');
    UpdateSize();
}

void TPrintConfigDlg::UpdateSize()
{
    const TPrintRect rect = ComputePrintRect(PrintMode, PageWidth, PageHeight, ImageWidth,
                                             ImageHeight, ScaleFactor, CenterCB->isChecked());
    PrintLeft = rect.Left;
    PrintTop = rect.Top;
    PrintRight = rect.Right;
    PrintBottom = rect.Bottom;
    ShowImage();
}

void TPrintConfigDlg::ShowImage()
{
    if (PrintRight <= 0 || PrintBottom <= 0)
        return;
    const bool landscape = Printer()->pageLayout().orientation() == QPageLayout::Landscape;
    PaperShape->resize(PaperWidth, landscape ? LandscapeHeight : PortraitHeight);
    ImageShape->setGeometry(PreviewImageRect(PaperShape->geometry(), PageWidth, PageHeight,
                                             {PrintLeft, PrintTop, PrintRight, PrintBottom}));
}
