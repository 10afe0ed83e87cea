// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

// A filled rectangle with an outline, for the page preview.
class TShape : public QWidget
{
public:
    TShape(const QColor &fill, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
};

// "Configure Printer": how the picture is placed on the page (original size, fitted
// keeping its proportions, filling the page, or enlarged 1 to 10 times), optionally
// centred, with a small preview. Works in printer pixels: the caller sets the page and
// picture sizes and after OK reads the rectangle. A new dialog serves each print.
class TPrintConfigDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TPrintConfigDlg(QWidget *parent = nullptr);

    int PrintMode = 1;
    int PageWidth = 0;
    int PageHeight = 0;
    int ImageWidth = 0;
    int ImageHeight = 0;
    int ScaleFactor = 0;
    int PrintLeft = 0;
    int PrintTop = 0;
    int PrintRight = 0;
    int PrintBottom = 0;

    TShape *PaperShape;
    TShape *ImageShape;
    QRadioButton *OriginalRB;
    QRadioButton *ProportionalRB;
    QRadioButton *FullFitRB;
    QRadioButton *ScaleRB;
    QLabel *ScaleLabel;
    QScrollBar *ScaleSB;
    QCheckBox *CenterCB;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QPushButton *HelpBtn;

    void UpdateSize();
    void ShowImage();
    void OriginalRBClick();
    void ProportionalRBClick();
    void FullFitRBClick();
    void ScaleRBClick();
    void ScaleSBChange();
    void CenterCBClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void setScaleControls(bool enabled);
    void fitScale();
};
