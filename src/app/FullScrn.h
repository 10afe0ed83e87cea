// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

class InputLock;
class QLabel;
class QVBoxLayout;
class TKorvidForm;

// What a protected show says when it runs without the lock, and why.
QString ShowWithoutLockText(const QString &why);

// Black or white per channel, whichever stands out against the colour: each of red,
// green and blue becomes 0 above 127 and 255 otherwise; the top byte is kept.
qint32 ContrastColor(qint32 color);

// A one-pixel progress line in the fore colour on the background colour.
class TThinGauge : public QWidget
{
    Q_OBJECT
public:
    explicit TThinGauge(QWidget *parent = nullptr);
    int Progress() const { return m_progress; }
    void setProgress(int percent);
    QColor ForeColor;
    QColor BackColor;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_progress = 0;
};

// The full-screen view: a borderless window over the whole screen the main window is on,
// in which a VorodOdir runs with the display control lent by the main window, an optional
// progress line and an optional file-name line at the bottom, and no mouse pointer. Every
// key goes to the main window's show (space, F2 to F4, anything else stops); with the
// access password in force it asks for the password and holds keyboard and mouse.
class TFullScrn1 : public QWidget
{
    Q_OBJECT
public:
    explicit TFullScrn1(TKorvidForm *owner);
    ~TFullScrn1() override;

    bool ShowProgressLine = false;
    bool ShowFileNameLine = false;

    QWidget *DisplayArea;
    QWidget *ProgressPanel;
    TThinGauge *Gauge1;
    QWidget *FileNamePanel;
    QLabel *FileNameLabel;

    // Shows or hides the file-name line; returns whether it was shown.
    bool ShowIt(bool show);
    // Takes the display control for the show, and gives it back.
    void Lend(QWidget *display);
    void GiveBack(QWidget *display);

    // Whether the pointer is hidden by this view now.
    bool PointerHidden() const { return m_pointerHidden; }
    // Whether the access password guards this showing of the view.
    bool Locked() const { return m_locked; }
    // Whether keyboard and mouse are really held now (not on a session that cannot lock).
    bool Holding() const;

    void FormKeyDown(QKeyEvent *event);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void FormClose();
    void StartLock();
    void EndLock();
    void LockRefused(const QString &why);

    TKorvidForm *m_owner;
    QVBoxLayout *m_displayLayout;
    bool m_pointerHidden = false;
    bool m_locked = false;
    InputLock *m_lock;
    bool m_refusalShown = false;
    quint32 m_inhibitCookie = 0;
};
