// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

#include "options/OptionsSettings.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;

// "Korvid Options": the main window's settings on four pages (General, MultiMedia,
// VorodOdir, Manager). It reads them when shown and writes most back on OK; the manager's
// boxes take effect at once and Cancel does not undo them. A new dialog serves each
// opening.
class TOptionsNotebookDlg : public QDialog
{
    Q_OBJECT
public:
    // settings: the main window's, edited in place.
    explicit TOptionsNotebookDlg(TOptionsSettings &settings, QWidget *parent = nullptr);

    // What the caller tells before showing: a VorodOdir runs; the file manager is open.
    bool ShowRunning = false;
    bool ManagerVisible = false;
    // Asks for a picture file (filter, initial folder, file name); the chosen full name,
    // empty when none was chosen.
    std::function<QString(const QString &, const QString &, const QString &)> BrowseImage;

    QString StoredPassword;
    int SoundChoice = 0;
    // The help topic of the page shown (F1).
    int HelpContext = 109;

    QTabWidget *OptionsTNB;
    QCheckBox *BottomTB;
    QCheckBox *SingleClickCB;
    QCheckBox *FileStatsCB;
    QGroupBox *GroupBox2;
    QFrame *ListBGColorPanel;
    QPushButton *ListBGColorBtn;
    QFrame *BGColorPanel;
    QPushButton *BGColorBtn;
    QCheckBox *AutoPlayMMCB;
    QCheckBox *AutoRepeatMMCB;
    QGroupBox *GroupBox1;
    QScrollBar *MMScaleSB;
    QLabel *MMScaleLabel;
    QLabel *InfoLabel;
    QSpinBox *ShowTimeSE;
    QCheckBox *FullScrnCB;
    QGroupBox *FullScreenGB;
    QCheckBox *ShowProgressCB;
    QCheckBox *ShowFileNameCB;
    QGroupBox *PasswordGB;
    QCheckBox *PasswordCB;
    QPushButton *PasswordBtn;
    // Shown only where this session cannot lock the screen.
    QLabel *PasswordNotice;
    QGroupBox *SoundImageGB;
    QRadioButton *NoImageRB;
    QRadioButton *WallPaperRB;
    QRadioButton *UserImageRB;
    QLineEdit *ImageEB;
    QPushButton *SelectBtn;
    QCheckBox *HideCPCB;
    QGroupBox *ConfirmGB;
    QCheckBox *DeleteConfirmCB;
    QCheckBox *CopyConfirmCB;
    QCheckBox *OverwriteCB;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QPushButton *HelpBtn;

    // The dialog's height and help topic for a page.
    static int PageHeight(int page);
    static int PageHelpContext(int page);

    void FormShow();
    void OKBtnClick();
    void OptionsTNBChange();
    void MMScaleSBChange();
    void BGColorBtnClick(QPushButton *button);
    void FullScrnCBClick();
    void PasswordCBClick();
    void PasswordBtnClick();
    void NoImageRBClick();
    void WallPaperRBClick();
    void UserImageRBClick();
    void SelectBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    QWidget *createGeneralPage();
    QWidget *createMultiMediaPage();
    QWidget *createVorodOdirPage();
    QWidget *createManagerPage();
    void setPanelColor(QFrame *panel, const QColor &color);
    QColor panelColor(const QFrame *panel) const;
    void updateImageControls();
    // Runs the set-password dialog; its result protects the show at once.
    void setPassword();

    TOptionsSettings &m_settings;
    qint32 m_backGround = ClBtnFace;
    qint32 m_listBackGround = ClBtnFace;
};
