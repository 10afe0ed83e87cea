// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: creation, showing, closing and the application-wide hooks.
#include "app/Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>

#include "app/CmdLine.h"
#include "app/FullScrn.h"
#include "app/HelpWindow.h"
#include "bookmarks/BMarkUtils.h"
#include "bookmarks/Bmarkorg.h"
#include "toolkit/FileDrag.h"
#include "toolkit/HelpTopic.h"
#include "display/TMIMediaPlayer.h"
#include "files/MMManager.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "display/codec/ColorProfile.h"
#include "platform/Platform.h"
#include "toolkit/DirectoryScan.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/PlatformIni.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TDriveComboBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

// First local file of a drag from another program, empty when it carries none. The
// program's own file lists are only dropped on the display, one file at a time.
QString firstDroppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->hasFormat(FileDrag::filesType()))
        return {};
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

namespace {

// Pictures are converted to the screen's colours: the profile file platform.ini names,
// else the desktop's, else sRGB.
void useScreenColorProfile()
{
    const QString named = PlatformIniValue(QStringLiteral("Display"), QStringLiteral("Profile"));
    QByteArray profile;
    if (!named.isEmpty()) {
        QFile file(named);
        if (file.size() < (16 << 20) && file.open(QIODevice::ReadOnly))
            profile = file.readAll();
    }
    if (!ProfileUsable(profile))
        profile = ScreenColorProfile();
    SetDisplayProfile(ProfileUsable(profile) ? profile : QByteArray());
}

} // namespace

TKorvidForm::TKorvidForm(const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_arguments(arguments)
{
    useScreenColorProfile();
    CreateControls();
    MakeConnections();
    FormCreate();
}

TKorvidForm::~TKorvidForm()
{
    // The codec and the help buttons must not call back into a window that is gone.
    ProgressCallback = nullptr;
    SetHelpHandler({});
    delete FullScrn1;
}

void TKorvidForm::FormCreate()
{
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    AppActivate();
            });
    LastSoundPicture.clear();

    WindowsDir = ConfigDir();
    ProgramDir = WindowsDir + QDir::separator();

    ReadINI();
    if (!BMarks->LoadFromFile(BookmarkFile())) {
        // Told once the window is up, so the message has the window it belongs to.
        QTimer::singleShot(0, this, [this] {
            MessageDlg(this, ApplicationTitle,
                       QStringLiteral("The bookmarks could not be read from %1.\n%2\n\nThe file "
                                      "is left as it is; bookmarks added now are not saved.")
                           .arg(QDir::toNativeSeparators(BookmarkFile()), BMarks->errorString()),
                       QMessageBox::Warning);
        });
    }
    UpdateBMarks();
    OptionsPage = 0;
    SetHelpHandler([this](int topic) { HelpWindow->ShowTopic(topic); });

    BuildFilter();
    SlideShowTimer->stop();
    MIMediaPlayer1->setButtonsEnabled(false);
    Image1->setImageLibPalette(true);
    FileListBox1->setMask(FilterComboBox1->Mask());

    StoppedGlyph = QPixmap(QStringLiteral(":/bitmaps/BMP_MS_STOPPED"));
    RunningGlyph = QPixmap(QStringLiteral(":/bitmaps/BMP_MS_RUNNING"));
    SlideShowBtn->setIcon(StoppedGlyph);

    ProgressCallback = [this](int percent) { return LoadProgress(percent); };
    qApp->installEventFilter(this);

    const TCmdLine commandLine = ParseCmdLine(m_arguments, QDir::currentPath());
    AutoStartShow = commandLine.AutoStartShow;
    if (!commandLine.FileName.isEmpty()) {
        ApplyFilePath(commandLine.FileName);
        if (!AutoStartShow)
            OpenCommandLineFile(commandLine.FileName);
    }

    setAcceptDrops(true);
}

void TKorvidForm::FormShow()
{
    // Sizes given before the first layout are only hints to the splitters; give them again
    // now that the panels have their real extent.
    ApplyPanelSizes();
    FormResize();
    // A file opened before the window was shown was laid out in a box that had no size
    // yet; lay it out, scroll and centre it now as if it had been chosen in the list.
    ScrollBoxResize();
    FocusFirstList();
    if (AutoStartShow)
        AutoStartMSTimer->start();
}

void TKorvidForm::FormClose()
{
    m_closing = true;
    if (ShowRunning)
        SlideShowStop();
    Image1->StopMedia();
    Sounds1->setMediaPlayer(nullptr);
    setAcceptDrops(false);
    HelpWindow->close();
    // An unreadable file was reported at start; only bookmarks added since are news.
    if (!BMarks->SaveToFile(BookmarkFile()) && (BMarks->isReadable() || !BMarks->Marks.isEmpty()))
        MessageDlg(this, ApplicationTitle,
                   QStringLiteral("The bookmarks could not be saved to %1.\n%2")
                       .arg(QDir::toNativeSeparators(BookmarkFile()), BMarks->errorString()),
                   QMessageBox::Warning);
    BMarkDlg->close();
    if (MMManager && MMManager->isVisible())
        MMManager->close();
    WriteINI();
}

void TKorvidForm::OpenCommandLineFile(const QString &path)
{
    if (!QFileInfo(path).isDir()) {
        OpenIt(path);
        return;
    }
    // A folder is browsed and its first picture shown, as a folder opened from a file
    // manager would be.
    if (FileListBox1->isLoading()) {
        connect(
            FileListBox1, &TFileListBox::Loaded, this, [this, path] { OpenCommandLineFile(path); },
            Qt::SingleShotConnection);
        return;
    }
    for (int row = 0; row < FileListBox1->count(); ++row) {
        if (MediaKindOf(FileListBox1->itemText(row)) == mkImage) {
            FileListBox1->setItemIndex(row);
            OpenIt(FileListBox1->FileName());
            return;
        }
    }
}

void TKorvidForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TKorvidForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TKorvidForm::ApplyFilePath(const QString &path)
{
    const QFileInfo info(path);
    DirectoryListBox1->setDirectory(info.isDir() ? path : info.absolutePath());
    FileListBox1->setFileName(path);
}

void TKorvidForm::AppActivate()
{
    if (!isVisible())
        return;
    const QString directory = DirectoryListBox1->Directory();
    if (!directory.isEmpty() && !QFileInfo(directory).isDir()) {
        // Removed by another program: never go on showing a folder that is gone.
        const QString parent = NearestExistingDirectory(directory);
        MessageDlg(this, ApplicationTitle,
                   QStringLiteral("The directory %1 no longer exists.")
                       .arg(QDir::toNativeSeparators(directory)),
                   QMessageBox::Warning);
        DirectoryListBox1->setDirectory(parent.isEmpty() ? HomeDir() : parent);
        return;
    }
    DirectoryListBox1->Update();
    FileListBox1->Update();
    // Files added above the one on show must not move the highlight to another file.
    SelectShownFile();
}

void TKorvidForm::DirectoryGone(const QString &path)
{
    // A VorodOdir goes on without a word, as it does for a file that vanished.
    if (!ShowRunning)
        MessageDlg(this, ApplicationTitle,
                   QStringLiteral("The directory %1 no longer exists.")
                       .arg(QDir::toNativeSeparators(path)),
                   QMessageBox::Warning);
}

void TKorvidForm::SelectShownFile()
{
    if (QFileInfo(CurrentFile).absolutePath() == FileListBox1->Directory())
        FileListBox1->setFileName(CurrentFile);
}

void TKorvidForm::FocusFirstList()
{
    if (FileListBox1->isLoading()) {
        connect(FileListBox1, &TFileListBox::Loaded, this, &TKorvidForm::FocusFirstList,
                Qt::SingleShotConnection);
        return;
    }
    // Only while the focus is still where the window put it itself, never away from a
    // control the user has chosen meanwhile.
    QWidget *focus = focusWidget();
    if (focus && focus != DriveComboBox1)
        return;
    // Arrow keys step through the pictures from the first moment.
    QWidget *list = FileListBox1->count() > 0 ? static_cast<QWidget *>(FileListBox1)
                                              : static_cast<QWidget *>(DirectoryListBox1);
    list->setFocus(Qt::OtherFocusReason);
}

void TKorvidForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!firstDroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TKorvidForm::dropEvent(QDropEvent *event)
{
    const QString file = firstDroppedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    WMDropFiles(file);
}

void TKorvidForm::WMDropFiles(const QString &fileName)
{
    OpenIt(fileName);
    raise();
    activateWindow();
}
