// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "display/codec/DecodeContext.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TFilterComboBox;
class TMIMediaPlayer;
class TPMultiMedia;

// The dialog of the multimedia open dialog: media types, files, folders and drive on the
// left, a small live preview on the right (pictures drawn, sounds and videos with a
// player, text messages moving). A picture that loads long can be stopped.
class TMultiOpenMM : public QDialog
{
    Q_OBJECT
public:
    explicit TMultiOpenMM(QWidget *parent = nullptr);
    ~TMultiOpenMM() override;

    TFilterComboBox *FilterComboBox1;
    TFileListBox *FileListBox1;
    QLabel *Label1;
    TDirectoryListBox *DirectoryListBox1;
    TDriveComboBox *DriveComboBox1;
    QPushButton *BitBtn1;
    QWidget *Panel1;
    TPMultiMedia *Preview = nullptr;
    TMIMediaPlayer *Player = nullptr;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QProgressBar *Gauge1;
    QPushButton *CancelBtn;
    QPushButton *OKBtn;
    QTimer Timer1;
    bool StopFlag = false;

    void FileListBox1Change();
    void CheckBox1Click();
    void CheckBox2Click();
    void Timer1Timer();
    void BitBtn1Click();
    // Installed as the loading-progress routine while the dialog exists: 1 to go on, 0 to
    // stop the load.
    int PreviewProgress(int percent);

private:
    void FormCreate();
    void FormDestroy();
    // The list waits while a preview loads; the keyboard waits with it on the preview
    // instead of going on to the folders, and comes back to the list with it.
    void setListEnabled(bool enabled);

    TProgressCallback m_savedProgress;
    // PreviewProgress is letting events run: a load is under way.
    bool m_inProgress = false;
    bool m_keyboardParked = false;
};

// Asks for one media file with TMultiOpenMM. The dialog exists only during Execute.
class TMMOpenDialog : public QObject
{
    Q_OBJECT
public:
    explicit TMMOpenDialog(QWidget *owner);

    QString InitialDir;
    bool AllowAutoPlay = true;
    bool AutoDisPlay = true;
    bool AutoPlay = false;
    QString Title = QStringLiteral("Open File");
    // Pairs of caption and mask separated by "|".
    QString Filter;
    // The file selected in the dialog's list when it closed, whatever the answer; one
    // given beforehand is selected when the dialog opens on its folder.
    QString FileName;

    // True when the dialog was closed with OK.
    bool Execute();
    // The dialog while Execute runs, for those who script it.
    TMultiOpenMM *Dialog() const { return m_dialog; }

Q_SIGNALS:
    // Execute has created the dialog and is about to show it.
    void DialogCreated(TMultiOpenMM *dialog);

private:
    QPointer<QWidget> m_owner;
    QPointer<TMultiOpenMM> m_dialog;
};
