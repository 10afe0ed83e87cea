// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TKorvidForm: the menu bar, the pop-up menu and the commands that belong to the window.
#include "app/Main.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>

#include "app/About.h"
#include "app/FullScrn.h"
#include "app/HelpWindow.h"
#include "display/TMultiMP.h"
#include "files/MMManager.h"
#include "files/MMOpen.h"
#include "files/Newren.h"
#include "platform/Platform.h"
#include "options/OptionsDlg.h"
#include "printing/PrintConfigDlg.h"
#include "printing/Printers.h"
#include "toolkit/FileDrag.h"
#include "toolkit/FreezeDrawing.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

constexpr int MaxDeleteQuestion = 255;

QAction *item(QMenu *menu, const char *name, const QString &text, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

} // namespace

void TKorvidForm::CreateMenus()
{
    QMenuBar *MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->menuAction()->setStatusTip(QStringLiteral("Exit Korvid"));
    Open1 = item(File1, "Open1", QStringLiteral("&Open"));
    Print1 = item(File1, "Print1", QStringLiteral("&Print"));
    PrintSetup1 = item(File1, "PrintSetup1", QStringLiteral("Print &Setup"));
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));

    Bookmarks1 = MainMenu1->addMenu(QStringLiteral("&Bookmarks"));
    Bookmarks1->setObjectName(QStringLiteral("Bookmarks1"));
    Add1 = item(Bookmarks1, "Add1", QStringLiteral("&Add"));
    Organize1 = item(Bookmarks1, "Organize1", QStringLiteral("&Organize"));

    Manager1 = MainMenu1->addMenu(QStringLiteral("&RizirIrivu Dadozuz"));
    Manager1->setObjectName(QStringLiteral("Manager1"));
    RunManager1 = item(Manager1, "RunManager1", QStringLiteral("Run the MultiMedia &Manager"),
                       QKeySequence(Qt::CTRL | Qt::Key_M));

    Options1 = MainMenu1->addMenu(QStringLiteral("&Options"));
    Options1->setObjectName(QStringLiteral("Options1"));
    KorvidConfiguration1 =
        item(Options1, "KorvidConfiguration1", QStringLiteral("&Configure Korvid"),
             QKeySequence(Qt::CTRL | Qt::Key_C));

    HelpMenu1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    HelpMenu1->setObjectName(QStringLiteral("HelpMenu1"));
    HelpMenu1->menuAction()->setStatusTip(QStringLiteral("Obtain Help"));
    Help1 = item(HelpMenu1, "Help1", QStringLiteral("&Help  F1"));
    About1 = item(HelpMenu1, "About1", QStringLiteral("&About"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Bookmarks2 = PopupMenu1->addMenu(QStringLiteral("Bookmarks"));
    Bookmarks2->setObjectName(QStringLiteral("Bookmarks2"));
    Add2 = item(Bookmarks2, "Add2", QStringLiteral("Add"));
    Organize2 = item(Bookmarks2, "Organize2", QStringLiteral("Organize"));
    PopupMenu1->addSeparator();
    Delete1 = item(PopupMenu1, "Delete1", QStringLiteral("Delete File"));
    Rename1 = item(PopupMenu1, "Rename1", QStringLiteral("Rename File"));
    PrintImage1 = item(PopupMenu1, "PrintImage1", QStringLiteral("Print Image"));
    MultiMediaManager1 =
        item(PopupMenu1, "MultiMediaManager1", QStringLiteral("RizirIrivu Dadozuz"));
    PopupMenu1->addSeparator();
    Help2 = item(PopupMenu1, "Help2", QStringLiteral("Help"));
    PrinterSetup1 = item(PopupMenu1, "PrinterSetup1", QStringLiteral("Printer Setup"));
    ConfigOptions = item(PopupMenu1, "ConfigOptions", QStringLiteral("Configure Korvid"));
    N3 = PopupMenu1->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    SelectasWallpaper1 =
        item(PopupMenu1, "SelectasWallpaper1", QStringLiteral("Select Image as Wallpaper"));
    PopupMenu1->addSeparator();
    VorodOdirStartStop1 =
        item(PopupMenu1, "VorodOdirStartStop1", QStringLiteral("VorodOdir Start"));

    MMOpenDialog1 = new TMMOpenDialog(this);
    MMOpenDialog1->setObjectName(QStringLiteral("MMOpenDialog1"));
    MMOpenDialog1->Title = QStringLiteral("Open File");
    MMOpenDialog1->Filter = QStringLiteral(
        "All Media|*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.RTF;*.SCM;*.TIF;*.WAV;*.MID;*.RMI;*.AVI;"
        "*.MOV;|BMP|*.BMP|CMS|*.CMS|GIF|*.GIF|JPG|*.JPG|PCX|*.PCX|PNG|*.PNG|SCM|*.SCM|TIF|*.TIF|"
        "Wav|*.WAV|Mid|*.MID|RMI|*.RMI|AVI|*.AVI|Mov|*.MOV");

    connect(File1, &QMenu::aboutToShow, this, &TKorvidForm::File1Click);
    connect(Open1, &QAction::triggered, this, &TKorvidForm::Open1Click);
    for (QAction *options : {KorvidConfiguration1, ConfigOptions})
        connect(options, &QAction::triggered, this, [this] { ConfigOptionsClick(this); });
    for (QAction *print : {Print1, PrintImage1})
        connect(print, &QAction::triggered, this, &TKorvidForm::PrintIt);
    for (QAction *setup : {PrintSetup1, PrinterSetup1})
        connect(setup, &QAction::triggered, this, &TKorvidForm::PrintSetup1Click);
    for (QAction *add : {Add1, Add2})
        connect(add, &QAction::triggered, this, &TKorvidForm::Add1Click);
    for (QAction *organize : {Organize1, Organize2})
        connect(organize, &QAction::triggered, this, &TKorvidForm::Organize1Click);
    for (QAction *manager : {RunManager1, MultiMediaManager1})
        connect(manager, &QAction::triggered, this, &TKorvidForm::MultiMediaManager1Click);
    connect(Exit1, &QAction::triggered, this, &TKorvidForm::Exit1Click);
    connect(Help1, &QAction::triggered, this, &TKorvidForm::Help1Click);
    connect(About1, &QAction::triggered, this, &TKorvidForm::About1Click);
    connect(Delete1, &QAction::triggered, this, &TKorvidForm::Delete1Click);
    connect(Rename1, &QAction::triggered, this, &TKorvidForm::Rename1Click);
    connect(Help2, &QAction::triggered, this, &TKorvidForm::Help2Click);
    connect(SelectasWallpaper1, &QAction::triggered, this, &TKorvidForm::SelectasWallpaper1Click);
    connect(VorodOdirStartStop1, &QAction::triggered, this, &TKorvidForm::VorodOdirStartStop1Click);

    // The display and the directory list open the pop-up themselves; the file list does
    // it by hand on its right button.
    for (QWidget *owner :
         {static_cast<QWidget *>(Image1), static_cast<QWidget *>(DirectoryListBox1)}) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, this, [this, owner](const QPoint &at) {
            if (PopupAuto)
                ShowPopup(owner, owner->mapToGlobal(at));
        });
    }
    Image1->setAcceptDrops(true);
    Image1->installEventFilter(this);
}

void TKorvidForm::File1Click()
{
    Print1->setEnabled(HasPicture && !ShowRunning);
}

void TKorvidForm::PrintIt()
{
    QPrinter *printer = Printer();
    const QString problem = PrinterProblem(*printer);
    if (!problem.isEmpty()) {
        MessageDlg(this, ApplicationTitle, problem, QMessageBox::Warning);
        return;
    }
    TPrintConfigDlg dialog(this);
    dialog.PageWidth = printer->width();
    dialog.PageHeight = printer->height();
    dialog.ImageWidth = Image1->MediaWidth;
    dialog.ImageHeight = Image1->MediaHeight;
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer->setDocName(QString());
    QString error;
    if (!Image1->PrintPicture(printer, dialog.PrintLeft, dialog.PrintTop,
                              dialog.PrintRight - dialog.PrintLeft,
                              dialog.PrintBottom - dialog.PrintTop, &error))
        MessageDlg(this, ApplicationTitle, error, QMessageBox::Warning);
}

void TKorvidForm::PrintSetup1Click()
{
    RunPrinterSetup(this);
}

void TKorvidForm::ConfigOptionsClick(QWidget *caller)
{
    TOptionsNotebookDlg dialog(*this, caller ? caller : this);
    dialog.ShowRunning = ShowRunning;
    dialog.ManagerVisible = MMManager && MMManager->isVisible();
    dialog.BrowseImage = [this, &dialog](const QString &filter, const QString &initialDir,
                                         const QString &fileName) {
        TMMOpenDialog open(&dialog);
        open.Title = QStringLiteral("Open File");
        open.AutoPlay = false;
        open.Filter = filter;
        open.InitialDir = initialDir.isEmpty() ? FileListBox1->Directory() : initialDir;
        open.FileName = fileName;
        return open.Execute() ? open.FileName : QString();
    };
    dialog.OptionsTNB->setCurrentIndex(OptionsPage);
    dialog.exec();
    UpdateOptions();
    OptionsPage = dialog.OptionsTNB->currentIndex();
}

void TKorvidForm::Open1Click()
{
    // The dialog opens on the folder being browsed.
    MMOpenDialog1->InitialDir = FileListBox1->Directory();
    if (MMOpenDialog1->Execute() && !MMOpenDialog1->FileName.isEmpty())
        OpenIt(MMOpenDialog1->FileName);
}

void TKorvidForm::ShowPopup(QWidget *component, const QPoint &globalPos)
{
    PopupComponent = component;
    PopupMenu1Popup();
    PopupMenu1->popup(globalPos);
}

void TKorvidForm::PopupMenu1Popup()
{
    const bool onDirectories = PopupComponent == DirectoryListBox1;
    const bool available =
        !CurrentFile.isEmpty() && QFileInfo::exists(CurrentFile) && !ShowRunning && !onDirectories;
    const bool locked = PasswordProtect && FullScreen && ShowRunning;
    Delete1->setEnabled(available);
    Rename1->setEnabled(available);
    for (QAction *action : {Help2, PrintImage1, PrinterSetup1, ConfigOptions})
        action->setEnabled(!locked);
    SelectasWallpaper1->setVisible(false);
    N3->setVisible(false);
    if (ShowRunning) {
        VorodOdirStartStop1->setText(QStringLiteral("VorodOdir Stop"));
        PrintImage1->setEnabled(false);
    } else {
        VorodOdirStartStop1->setText(QStringLiteral("VorodOdir Start"));
        PrintImage1->setEnabled(HasPicture && !onDirectories);
    }
    VorodOdirStartStop1->setEnabled(!ControlPanel1->isHidden());
}

void TKorvidForm::Delete1Click()
{
    const QString path = FileListBox1->FileName();
    if (path.isEmpty())
        return;
    const QString question =
        (QStringLiteral("Are you sure that you want to delete ") + QDir::toNativeSeparators(path))
            .left(MaxDeleteQuestion);
    if (MessageDlg(this, QStringLiteral("Delete File?"), question, QMessageBox::Question,
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        != QMessageBox::Yes)
        return;
    QFile file(path);
    if (!file.remove()) {
        MessageDlg(this, QStringLiteral("Unable to delete file!"), QDir::toNativeSeparators(path),
                   QMessageBox::Warning);
        return;
    }
    int index = FileListBox1->ItemIndex();
    FileListBox1->removeName(QFileInfo(path).fileName());
    if (MMManager)
        MMManager->UpdateAndHold(FileListBox1);
    if (FileListBox1->count() == 0) {
        Image1->setMediaName(QString());
        Image1->MediaType.clear();
        HasPicture = false;
        Image1->update();
    } else {
        FileListBox1->setItemIndex(std::min(index, FileListBox1->count() - 1));
        if (SingleClick)
            FileListBox1Click();
        else
            FileListBox1DblClick();
    }
    if (MMManager && MMManager->isVisible())
        MMManager->UpdateAll();
}

void TKorvidForm::Rename1Click()
{
    NewRenDlg->Mode = nrRenameFile;
    NewRenDlg->OldFileName = CurrentFile;
    // Renamed or not, the lists are read again to show what is on the disk.
    const bool renamed = NewRenDlg->exec() == QDialog::Accepted;
    if (renamed) {
        CurrentFile = NewRenDlg->NewFileName;
        CurrentFileName = QFileInfo(CurrentFile).fileName();
    }
    FileListBox1->Update();
    if (renamed)
        FileListBox1->setFileName(CurrentFile);
    if (MMManager && MMManager->isVisible())
        MMManager->UpdateAll();
}

void TKorvidForm::Exit1Click()
{
    close();
}

void TKorvidForm::Help1Click()
{
    HelpWindow->ShowTopic(411);
}

void TKorvidForm::Help2Click()
{
    HelpWindow->ShowTopic(200);
}

void TKorvidForm::ShowHelpTopic(int topic)
{
    Q_EMIT HelpRequested(topic);
    OpenHelpTopic(topic);
}

void TKorvidForm::About1Click()
{
    AboutBox->ProductName->setText(ApplicationTitle);
    AboutBox->Version->setText(QStringLiteral("Version 1.01.32"));
    AboutBox->exec();
}

void TKorvidForm::SelectasWallpaper1Click()
{
    SetDesktopWallpaper(CurrentFile);
}

void TKorvidForm::ControlPanelHide()
{
    const FreezeDrawing freeze(this);
    // The window gives up the panel's room on its left, so the display stays put.
    const int room = ControlPanel1->width() + MainSplitter->handleWidth();
    if (windowState() == Qt::WindowNoState)
        setGeometry(geometry().adjusted(room, 0, 0, 0));
    ControlPanel1->hide();
    SlideShowBtn->hide();
    if (ShowRunning)
        ShowIndicator();
    SetStretch();
}

void TKorvidForm::ControlPanelShow()
{
    const FreezeDrawing freeze(this);
    const QString selected = FileListBox1->FileName();
    const int room = m_ctrlPanelWidth + MainSplitter->handleWidth();
    if (windowState() == Qt::WindowNoState)
        setGeometry(geometry().adjusted(-room, 0, 0, 0));
    DirectoryListBox1->Update();
    FileListBox1->Update();
    ControlPanel1->show();
    SlideShowBtn->show();
    ApplyPanelSizes();
    if (!selected.isEmpty())
        FileListBox1->setFileName(selected);
    HideIndicator();
    SetStretch();
}

namespace {

// The one file of a drag from one of the program's file lists; empty for anything else,
// and for a drag of several files.
QString singleDraggedFile(const QMimeData *data)
{
    const QStringList files = FileDrag::files(data);
    return files.size() == 1 ? files.first() : QString();
}

} // namespace

void TKorvidForm::Image1DragOver(QDragMoveEvent *event)
{
    if (singleDraggedFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void TKorvidForm::Image1DragDrop(QDropEvent *event)
{
    const QString file = singleDraggedFile(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (ShowRunning)
        SlideShowStop();
    OpenIt(file);
    if (FileListBox1->FileName() != file)
        FileListBox1->setItemIndex(-1);
}
