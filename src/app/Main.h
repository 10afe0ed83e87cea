// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>

#include <memory>

#include "app/KorvidSettings.h"
#include "app/MediaFilter.h"
#include "app/SlidePacer.h"
#include "files/MMManagerHost.h"
#include "app/ViewGeometry.h"
#include "toolkit/MessageDlg.h"

class QButtonGroup;
class QLabel;
class QProgressBar;
class QScrollArea;
class QSplitter;
class QTimer;
class QToolButton;
class QVBoxLayout;
class QAction;
class QDragMoveEvent;
class QWheelEvent;
class QLabel;
class QMenu;
class TAboutBox;
class TBMarkDlg;
class TBMarkUtils;
class TCheckPWDlg;
class THelpWindow;
class TNewRenDlg;
class TDirectoryListBox;
class TFullScrn1;
class TMIMediaPlayer;
class TDriveComboBox;
class TFileListBox;
class TFilterComboBox;
class TMMManager;
class TMMOpenDialog;
class TPMultiMedia;
class TPicturePrefetch;

// The browser's main window: the navigation panel on the left, the display area on the
// right, the tool panel below (or above). It owns the settings (its TKorvidSettings
// fields), reads them at creation and writes them when it closes; other windows change
// the fields and then call UpdateOptions.
class TKorvidForm : public QMainWindow, public TKorvidSettings, public TMMManagerHost
{
    Q_OBJECT
public:
    // arguments: the command line without the program's name.
    explicit TKorvidForm(const QStringList &arguments, QWidget *parent = nullptr);
    ~TKorvidForm() override;

    void ReadINI();
    void WriteINI();
    void UpdateOptions();
    void AppActivate();
    // The folder on show was removed by another program (the lists are at its parent).
    void DirectoryGone(const QString &path);
    void ShowScaleTools(bool zoomAllowed);
    // Moves the directory and file lists to path's folder and selects its file.
    void ApplyFilePath(const QString &path);

    // Navigation (MainNavigation.cpp).
    void BuildFilter();
    bool IsGood(const QString &fileName);
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void FileListBox1Change();
    void FileListBox1Click();
    void FileListBox1DblClick();
    void FileListBox1KeyDown(QKeyEvent *event);
    void FileListBox1MouseDown(QMouseEvent *event);

    // Viewing (MainViewing.cpp).
    void OpenIt(const QString &fileName);
    void DisplayStats(const QString &fileName);
    void SetStretch();
    void SetStretchMode(int mode);
    void SetVideoStretch();
    void SetScrollBox();
    void CenterScrollBox();
    void CalcZoom();
    void ZoomIn();
    void ZoomOut();
    void NoneSBtnClick();
    void ProportionalSBtnClick();
    void FullSBtnClick();
    void InSBtnClick();
    void OutSBtnClick();
    bool Image1Wheel(QWheelEvent *event);
    int LoadProgress(int percent);

    // VorodOdir (MainSlideshow.cpp).
    void SlideShowStart();
    void SlideShowNext();
    void SlideShowPause();
    void SlideShowStop();
    void SlideShowBtnClick();
    void VorodOdirStartStop1Click();
    void SlideShowTimerTimer();
    void BlinkTimerTimer();
    void AutoStartMSTimerTimer();
    void ShowIndicator();
    void HideIndicator();
    // Asks for the access password with the check prompt over parent; true when given.
    bool CheckPassword(QWidget *parent);

    // Menus and commands (MainMenus.cpp).
    void File1Click();
    void Open1Click();
    // The options dialog over caller (this window or the file manager); the settings
    // apply afterwards whatever the answer.
    void ConfigOptionsClick(QWidget *caller);
    // Lays the shown picture out in "Configure Printer" and prints it on the current
    // printer.
    void PrintIt();
    void PrintSetup1Click();
    // Opens PopupMenu1 at globalPos for component (the control it was asked on).
    void ShowPopup(QWidget *component, const QPoint &globalPos);
    void PopupMenu1Popup();
    void Delete1Click();
    void Rename1Click();
    void Exit1Click();
    void Help1Click();
    void Help2Click();
    void About1Click();
    void SelectasWallpaper1Click();
    void ControlPanelHide();
    void Image1DragOver(QDragMoveEvent *event);
    void Image1DragDrop(QDropEvent *event);
    void ControlPanelShow();

    // The file manager (MainBookmarks.cpp).
    void MultiMediaManager1Click();
    TDirectoryListBox *HostDirectoryList() const override { return DirectoryListBox1; }
    TFileListBox *HostFileList() const override { return FileListBox1; }
    QString HostMediaFilter() const override { return MediaFilter; }
    QString HostProgramDir() const override { return ProgramDir; }
    QString HostIniPath() const override { return IniPath(); }
    qint32 HostListBackGround() const override { return ListBackGround; }
    void HostManagerClosed() override;
    void HostOpenFile(const QString &path) override { OpenIt(path); }
    TFileConfirmations HostConfirmations() const override
    {
        return {ConfirmDelete, ConfirmCopy, ConfirmReplace};
    }
    bool HostShowRunning() const override { return ShowRunning; }
    void HostStartShow(const QString &directory, const QString &file) override;
    void HostStopShow() override;
    void HostConfigure(QWidget *caller) override { ConfigOptionsClick(caller); }
    bool HostAddBookmark(const QString &path) override;
    void HostBuildBookmarkMenu(QMenu *menu,
                               const std::function<void(const QString &)> &onClick) override;
    QString HostBookmarkTarget(const QString &name) override;
    void HostOrganizeBookmarks() override { Organize1Click(); }

    // Bookmarks (MainBookmarks.cpp).
    void Add1Click();
    void UpdateBMarks();
    void BMarkClick(const QString &name);
    void Organize1Click();
    QString BookmarkFile() const;

    // Keys and help (MainLayout.cpp).
    // Returns true when the key is used up and must not reach the control.
    bool FormKeyDown(QKeyEvent *event);
    // Help topic of the control that has the focus.
    int HelpTopicOf(const QWidget *widget) const;
    void ShowHelpTopic(int topic);

    // Full path of KORVID.INI.
    QString IniPath() const;

    // Runtime state shared with the other windows.
    QString WindowsDir;
    QString ProgramDir; // ends with a separator
    QString CurrentFile;
    QString CurrentFileName;
    int MediaKind = mkInvalid;
    TVideoRect VideoRect;
    int ZoomInStep = 0;
    int ZoomOutStep = 0;
    // Wheel turns smaller than one notch (touchpads, fine wheels), kept until they add up.
    int WheelRemainder = 0;
    bool HasPicture = false;
    bool Opening = false;
    bool ShowRunning = false;
    bool ShowPaused = false;
    bool SavedAutoStart = true;
    bool SavedAutoRepeat = true;
    QWidget *SavedImageParent = nullptr;
    QString PausedCaption;
    bool BlinkOn = false;
    QString SoundPicture;
    QString LastSoundPicture;
    QString WallpaperName;
    bool AutoStartShow = false;
    QString MediaFilter;
    int OptionsPage = 0;
    QPixmap RunningGlyph;
    QPixmap StoppedGlyph;

    // Controls, named as the rest of the program knows them.
    QWidget *ControlPanel1 = nullptr;
    QWidget *DriveDirPanel1 = nullptr;
    QWidget *TopPanel = nullptr;
    QLabel *DriveLabel = nullptr;
    TDriveComboBox *DriveComboBox1 = nullptr;
    QLabel *FilterLabel = nullptr;
    TFilterComboBox *FilterComboBox1 = nullptr;
    TDirectoryListBox *DirectoryListBox1 = nullptr;
    QSplitter *LeftSplitter = nullptr; // its handle is VSlidePanel1
    TFileListBox *FileListBox1 = nullptr;
    QSplitter *MainSplitter = nullptr; // its handle is HSlidePanel1
    QScrollArea *ScrollBox1 = nullptr;
    TPMultiMedia *Image1 = nullptr;
    TPMultiMedia *Sounds1 = nullptr;
    QWidget *ToolPanel = nullptr;
    TMIMediaPlayer *MIMediaPlayer1 = nullptr;
    QToolButton *NoneSBtn = nullptr;
    QToolButton *ProportionalSBtn = nullptr;
    QToolButton *FullSBtn = nullptr;
    QToolButton *InSBtn = nullptr;
    QToolButton *OutSBtn = nullptr;
    QToolButton *SlideShowBtn = nullptr;
    QProgressBar *Gauge1 = nullptr;
    QTimer *SlideShowTimer = nullptr;
    QTimer *BlinkTimer = nullptr;
    QTimer *AutoStartMSTimer = nullptr;
    QLabel *Indicator = nullptr;
    TFullScrn1 *FullScrn1 = nullptr;
    TCheckPWDlg *CheckPWDlg = nullptr;
    TNewRenDlg *NewRenDlg = nullptr;
    TAboutBox *AboutBox = nullptr;
    THelpWindow *HelpWindow = nullptr;
    std::unique_ptr<TBMarkUtils> BMarks;
    TBMarkDlg *BMarkDlg = nullptr;
    TMMManager *MMManager = nullptr; // created on first use
    TMMOpenDialog *MMOpenDialog1 = nullptr;

    // Menus; the commands whose windows come with later parts of the program are here
    // with their enabling rules and are connected by those parts.
    QMenu *File1 = nullptr;
    QAction *Open1 = nullptr;
    QAction *Print1 = nullptr;
    QAction *PrintSetup1 = nullptr;
    QAction *Exit1 = nullptr;
    QMenu *Bookmarks1 = nullptr;
    QAction *Add1 = nullptr;
    QAction *Organize1 = nullptr;
    QMenu *Manager1 = nullptr;
    QAction *RunManager1 = nullptr;
    QMenu *Options1 = nullptr;
    QAction *KorvidConfiguration1 = nullptr;
    QMenu *HelpMenu1 = nullptr;
    QAction *Help1 = nullptr;
    QAction *About1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QMenu *Bookmarks2 = nullptr;
    QAction *Add2 = nullptr;
    QAction *Organize2 = nullptr;
    QAction *Delete1 = nullptr;
    QAction *Rename1 = nullptr;
    QAction *PrintImage1 = nullptr;
    QAction *MultiMediaManager1 = nullptr;
    QAction *Help2 = nullptr;
    QAction *PrinterSetup1 = nullptr;
    QAction *ConfigOptions = nullptr;
    QAction *N3 = nullptr;
    QAction *SelectasWallpaper1 = nullptr;
    QAction *VorodOdirStartStop1 = nullptr;
    // The control the pop-up menu was last asked on.
    QWidget *PopupComponent = nullptr;
    // Whether a right click on the display or the directory list opens the pop-up.
    bool PopupAuto = true;

Q_SIGNALS:
    // F1 asks for the help topic of the focused control; the help window answers it.
    void HelpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void WMDropFiles(const QString &fileName);
    void OpenCommandLineFile(const QString &path);
    // Puts the focus in the file list, or the directory list when it lists no file.
    void FocusFirstList();
    // Highlights the file on show in the file list when the list shows its folder.
    void SelectShownFile();

    // Layout (MainLayout.cpp).
    void CreateControls();
    QWidget *CreateToolPanel();
    void MakeConnections();
    void ApplyPanelSizes();
    void PlaceToolPanel();
    void PressStretchButton();
    void CreateMenus();
    void KeepOnScreen();
    void ScrollBoxResize();
    void PrefetchNeighbours();
    // Size of the scroll box's client area when it shows no scroll bars.
    QSize ScrollClientSize() const;
    // Width of the vertical and height of the horizontal scroll bar.
    QSize ScrollBarExtents() const;
    // Size of the client area with the scroll bars that the display's size calls for.
    QSize ScrollViewportSize() const;

    QStringList m_arguments;
    QVBoxLayout *m_frameLayout = nullptr;
    QButtonGroup *m_stretchGroup = nullptr;
    int m_ddirPanelHeight = 124;
    int m_ctrlPanelWidth = 168;
    bool m_shown = false;
    bool m_closing = false;
    // When loading progress last let the window answer.
    QElapsedTimer m_lastPump;
    std::unique_ptr<TPicturePrefetch> m_prefetch;
    SlidePacer m_pacer;
};
