// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: reading, writing and applying the settings.
#include "app/Main.h"

#include <limits>

#include <QDir>
#include <QFileInfo>
#include <QScrollArea>
#include <QTimer>

#include "platform/Platform.h"
#include "toolkit/IniFile.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/PlatformIni.h"
#include "app/FullScrn.h"
#include "display/TMultiMP.h"
#include "files/MMManager.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/WindowPlacement.h"

namespace {

void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

QString TKorvidForm::IniPath() const
{
    return QDir(WindowsDir).filePath(KorvidIniName);
}

void TKorvidForm::ReadINI()
{
    const IniFile ini(IniPath());
    TKorvidWindowState window;
    ReadSettings(ini, *this, window, DefaultBrowseDir());

    m_ddirPanelHeight = window.DDirPanelHeight;
    m_ctrlPanelWidth = window.CtrlPanelWidth;
    ApplyPanelSizes();

    PressStretchButton();
    SetStretch();
    SetScrollBox();
    ShowScaleTools(StretchMode != 0);

    const QString directory =
        QFileInfo(window.LastDirectory).isDir() ? window.LastDirectory : HomeDir();
    DirectoryListBox1->setDirectory(directory);
    DriveComboBox1->setDrive(TDriveComboBox::DriveOf(DirectoryListBox1->Directory()));

    move(window.Left, window.Top);
    resize(window.Width, window.Height);
    KeepOnScreen();
    SetWindowStateCode(this, window.WindowState);

    const QString wallpaper =
        PlatformIniValue(QStringLiteral("Desktop"), QStringLiteral("Wallpaper"));
    WallpaperName = wallpaper.isEmpty() ? DesktopWallpaper() : wallpaper;

    UpdateOptions();
}

void TKorvidForm::KeepOnScreen()
{
    // Bounds saved on a screen that has since gone would open the window out of reach.
    if (TitleOnAnyScreen(QRect(pos(), size())))
        return;
    const TKorvidWindowState defaults;
    move(defaults.Left, defaults.Top);
}

void TKorvidForm::WriteINI()
{
    IniFile ini(IniPath());
    TKorvidWindowState window;
    window.LastDirectory = DirectoryListBox1->Directory();
    window.DDirPanelHeight = m_ddirPanelHeight;
    window.CtrlPanelWidth = m_ctrlPanelWidth;
    window.WindowState = WindowStateCode(this);
    window.Top = y();
    window.Left = x();
    window.Width = width();
    window.Height = height();
    WriteSettings(ini, *this, window);
    if (!ini.save()) {
        MessageDlg(this, ApplicationTitle,
                   QStringLiteral("The settings could not be saved to %1.\n%2")
                       .arg(QDir::toNativeSeparators(ini.path()), ini.errorString()),
                   QMessageBox::Warning);
    }
}

void TKorvidForm::UpdateOptions()
{
    switch (SoundDisplay) {
    case 1:
        SoundPicture = WallpaperName;
        break;
    case 2:
        SoundPicture = SoundImage;
        break;
    default:
        SoundPicture.clear();
        break;
    }
    Image1->setAutoPlayMultiMedia(AutoStart);
    Image1->setAutoRePlayMultiMedia(AutoRepeat);
    // A hand-edited file may hold any number; keep the interval a valid timer interval.
    SlideShowTimer->setInterval(qBound(1, ShowTime, std::numeric_limits<int>::max() / 1000) * 1000);
    PlaceToolPanel();
    SetVideoStretch();
    const QColor background = ColorFromPlatform(BackGround);
    setBackground(ScrollBox1->viewport(), QPalette::Window, background);
    setBackground(Image1, QPalette::Window, background);
    if (FullScreen && ShowRunning)
        setBackground(FullScrn1, QPalette::Window, background);
    const QColor listColor = ColorFromPlatform(ListBackGround);
    setBackground(FileListBox1, QPalette::Base, listColor);
    setBackground(DirectoryListBox1, QPalette::Base, listColor);
    if (MMManager)
        MMManager->SetListColor(listColor);
}
