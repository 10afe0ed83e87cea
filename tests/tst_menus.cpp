// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The menus and the main window's own commands, the new/rename dialog, help and about.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include "app/About.h"
#include "app/HelpWindow.h"
#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "toolkit/FileDrag.h"
#include "common/WidgetTestHelpers.h"
#include "display/TMultiMP.h"
#include "files/Newren.h"
#include "platform/Platform.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

std::unique_ptr<TKorvidForm> formOn(TestDir &dir, const QStringList &names)
{
    for (const QString &name : names)
        writePicture(dir, name);
    return shownForm({dir.filePath(names.first())});
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        m_messages.clear();
        m_answer = QMessageBox::Yes;
        SetMessageDlgScript([this](const MessageDlgCall &call) {
            m_messages.append(call);
            return m_answer;
        });
    }

    void cleanup() { SetMessageDlgScript({}); }

    void menusAsTabled()
    {
        TestDir dir;
        auto form = formOn(dir, {QStringLiteral("a.png")});
        QStringList bar;
        for (QAction *menu : form->menuBar()->actions())
            bar.append(menu->text());
        QCOMPARE(bar,
                 QStringList({"&File", "&Bookmarks", "&RizirIrivu Dadozuz", "&Options", "&Help"}));
        QCOMPARE(form->Exit1->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
        QCOMPARE(form->RunManager1->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QCOMPARE(form->KorvidConfiguration1->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(form->Help1->text(), QStringLiteral("&Help  F1"));
        QStringList popup;
        for (QAction *action : form->PopupMenu1->actions())
            popup.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(popup, QStringList({"Bookmarks", "-", "Delete File", "Rename File", "Print Image",
                                     "RizirIrivu Dadozuz", "-", "Help", "Printer Setup",
                                     "Configure Korvid", "-", "Select Image as Wallpaper", "-",
                                     "VorodOdir Start"}));
    }

    void popupAndFileMenuRules()
    {
        TestDir dir;
        auto form = formOn(dir, {QStringLiteral("a.png"), QStringLiteral("b.png")});
        QVERIFY(form->HasPicture);
        form->ShowPopup(form->Image1, QPoint(10, 10));
        QVERIFY(form->Delete1->isEnabled() && form->Rename1->isEnabled());
        QVERIFY(form->PrintImage1->isEnabled());
        QVERIFY(!form->SelectasWallpaper1->isVisible() && !form->N3->isVisible());
        QVERIFY(form->VorodOdirStartStop1->isEnabled());
        form->PopupMenu1->hide();

        // On the directory list: no file commands and no printing.
        form->ShowPopup(form->DirectoryListBox1, QPoint(10, 10));
        QVERIFY(!form->Delete1->isEnabled() && !form->Rename1->isEnabled());
        QVERIFY(!form->PrintImage1->isEnabled());
        form->PopupMenu1->hide();

        // The file list asks on its right button, whatever lies under it.
        QTest::mousePress(form->FileListBox1->viewport(), Qt::RightButton, {},
                          QPoint(5, form->FileListBox1->viewport()->height() - 2));
        QTRY_VERIFY(form->PopupMenu1->isVisible());
        QCOMPARE(form->PopupComponent, form->FileListBox1);
        form->PopupMenu1->hide();

        // During a show: stop item, no printing or file commands; locked: no help either.
        form->File1Click();
        QVERIFY(form->Print1->isEnabled());
        form->SlideShowStart();
        form->File1Click();
        QVERIFY(!form->Print1->isEnabled());
        form->PopupMenu1Popup();
        QCOMPARE(form->VorodOdirStartStop1->text(), QStringLiteral("VorodOdir Stop"));
        QVERIFY(!form->PrintImage1->isEnabled() && !form->Delete1->isEnabled());
        QVERIFY(form->Help2->isEnabled());
        form->PasswordProtect = true;
        form->FullScreen = true;
        form->PopupMenu1Popup();
        for (QAction *action : {form->Help2, form->PrinterSetup1, form->ConfigOptions})
            QVERIFY(!action->isEnabled());
        form->PasswordProtect = false;
        form->FullScreen = false;
        form->SlideShowStop();

        // With the control panel hidden the show item is off.
        form->ControlPanelHide();
        form->PopupMenu1Popup();
        QVERIFY(!form->VorodOdirStartStop1->isEnabled());
        form->ControlPanelShow();
    }

    void deletingFiles()
    {
        TestDir dir;
        auto form = formOn(
            dir, {QStringLiteral("a.png"), QStringLiteral("b.png"), QStringLiteral("c.png")});
        TFileListBox *list = form->FileListBox1;
        list->setItemIndex(2);
        form->FileListBox1Click();

        // No and Cancel keep the file.
        for (const auto answer : {QMessageBox::No, QMessageBox::Cancel}) {
            m_answer = answer;
            form->Delete1Click();
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("c.png"))));
        }
        QCOMPARE(m_messages.last().caption, QStringLiteral("Delete File?"));
        QVERIFY(m_messages.last().text.startsWith(
            QStringLiteral("Are you sure that you want to delete ")));
        QCOMPARE(m_messages.last().buttons,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

        // Yes on the last of three: gone from disk and list, the new last one shown.
        m_answer = QMessageBox::Yes;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("c.png"))));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->ItemIndex(), 1);
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("b.png")));

        // A file that cannot be deleted is reported and stays in the list.
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("b.png"))));
        form->Delete1Click();
        QCOMPARE(m_messages.last().caption, QStringLiteral("Unable to delete file!"));
        QCOMPARE(list->count(), 2);

        // The only file: the display is cleared.
        list->setItemIndex(0);
        form->FileListBox1Click();
        list->removeName(QStringLiteral("b.png"));
        list->setItemIndex(0);
        form->Delete1Click();
        QCOMPARE(list->count(), 0);
        QVERIFY(!form->HasPicture);
        QVERIFY(form->Image1->Picture().isEmpty());
    }

    void renamingTheShownFile()
    {
        TestDir dir;
        auto form = formOn(dir, {QStringLiteral("a.png"), QStringLiteral("b.png")});
        const QString caption = form->windowTitle();
        whenShown(form->NewRenDlg, [&] {
            QCOMPARE(form->NewRenDlg->windowTitle(), QStringLiteral("Rename File"));
            QCOMPARE(form->NewRenDlg->OldName->text(), QStringLiteral("Rename a.png to "));
            QCOMPARE(form->NewRenDlg->NewName->text(), QStringLiteral(".png"));
            QTRY_VERIFY(!form->NewRenDlg->NewName->hasSelectedText());
            QVERIFY(form->NewRenDlg->HelpBtn->isHidden());
            form->NewRenDlg->NewName->setText(QStringLiteral("z.png"));
            form->NewRenDlg->OKBtn->click();
        });
        form->Rename1Click();
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("z.png")));
        QCOMPARE(form->CurrentFileName, QStringLiteral("z.png"));
        QTRY_COMPARE(form->FileListBox1->FileName(), dir.filePath(QStringLiteral("z.png")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.png"))));
        QCOMPARE(form->windowTitle(), caption);
    }

    void newRenameDialog()
    {
        TestDir dir;
        const QString file = writePicture(dir, QStringLiteral("photo.png"));
        writePicture(dir, QStringLiteral("taken.png"));
        QDir().mkpath(dir.filePath(QStringLiteral("Photos")));
        TNewRenDlg dialog;
        QList<MessageDlgCall> &messages = m_messages;

        // A name that is taken: reported, nothing overwritten, the typed text stays.
        dialog.Mode = nrRenameFile;
        dialog.OldFileName = file;
        whenShown(&dialog, [&] {
            dialog.NewName->setText(QStringLiteral("taken.png"));
            dialog.OKBtn->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.NewName->text(), QStringLiteral("taken.png"));
            QCOMPARE(dialog.NewFileName, QString());
            dialog.NewName->clear(); // the folder itself
            dialog.OKBtn->click();
            QVERIFY(dialog.isVisible());
            dialog.CancelBtn->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.first().caption, QStringLiteral("Error"));
        QCOMPARE(messages.first().text, QStringLiteral("Unable to rename file!"));
        QVERIFY(QFile::exists(file));

        // A directory with a trailing separator works on the directory itself.
        dialog.Mode = nrRenameDir;
        dialog.OldFileName = dir.filePath(QStringLiteral("Photos/"));
        whenShown(&dialog, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Rename Directory"));
            QCOMPARE(dialog.NamePart, QStringLiteral("Photos"));
            QCOMPARE(dialog.PathPart, dir.path() + u'/');
            QCOMPARE(dialog.NewName->selectedText(), QStringLiteral("Photos"));
            dialog.NewName->setText(QStringLiteral("Pictures"));
            dialog.OKBtn->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.NewFileName, dir.filePath(QStringLiteral("Pictures")));
        QVERIFY(QFileInfo(dialog.NewFileName).isDir());

        // New directory; one that exists is refused; no second separator after a root.
        dialog.Mode = nrNewDir;
        dialog.OldFileName = dir.path();
        whenShown(&dialog, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Create New Directory"));
            QCOMPARE(dialog.OldName->text(), QStringLiteral("Please enter new directory name:"));
            dialog.NewName->setText(QStringLiteral("Pictures"));
            dialog.OKBtn->click();
            QVERIFY(dialog.isVisible());
            dialog.NewName->setText(QStringLiteral("Fresh"));
            dialog.OKBtn->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(messages.last().text, QStringLiteral("Cannot create directory"));
        QCOMPARE(dialog.NewFileName, dir.filePath(QStringLiteral("Fresh")));
        QVERIFY(QFileInfo(dialog.NewFileName).isDir());
        QCOMPARE(dialog.OldFileName, dir.path() + u'/');

        dialog.OldFileName = QDir::rootPath();
        whenShown(&dialog, [&] {
            QCOMPARE(dialog.Comment->text(), QStringLiteral("Create subdirectory of /"));
            dialog.NewName->setText(QStringLiteral("tmp"));
            dialog.OKBtn->click();
            dialog.CancelBtn->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.OldFileName, QDir::rootPath());
    }

    void controlPanelLeavesTheDisplayInPlace()
    {
        TestDir dir;
        auto form = formOn(dir, {QStringLiteral("a.png")});
        const QPoint before = form->ScrollBox1->mapToGlobal(QPoint(0, 0));
        const int width = form->ScrollBox1->width();
        form->ControlPanelHide();
        QVERIFY(form->ControlPanel1->isHidden());
        QVERIFY(form->SlideShowBtn->isHidden());
        QTRY_COMPARE(form->ScrollBox1->mapToGlobal(QPoint(0, 0)), before);
        QCOMPARE(form->ScrollBox1->width(), width);
        form->ControlPanelShow();
        QVERIFY(!form->ControlPanel1->isHidden());
        QTRY_COMPARE(form->ScrollBox1->mapToGlobal(QPoint(0, 0)), before);
    }

    void helpAndAbout()
    {
        TestDir dir;
        auto form = formOn(dir, {QStringLiteral("a.png")});
        for (const int topic :
             {411, 200, 418, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 7, 10, 201})
            QVERIFY2(THelpWindow::TopicExists(topic), qPrintable(QString::number(topic)));
        form->Help1Click();
        QVERIFY(form->HelpWindow->isVisible());
        QCOMPARE(form->HelpWindow->CurrentTopic(), 411);
        form->Help2Click();
        QCOMPARE(form->HelpWindow->CurrentTopic(), 200);
        form->FileListBox1->setFocus();
        QTest::keyClick(form->FileListBox1, Qt::Key_F1);
        QCOMPARE(form->HelpWindow->CurrentTopic(), 107);
        QVERIFY(form->HelpWindow->Browser->toPlainText().contains(QStringLiteral("File list")));
        form->HelpWindow->ShowContents();
        QCOMPARE(form->HelpWindow->CurrentTopic(), 0);
        form->HelpWindow->ShowTopic(9999);
        QCOMPARE(form->HelpWindow->CurrentTopic(), 0);

        whenShown(form->AboutBox, [&] {
            QCOMPARE(form->AboutBox->windowTitle(), QStringLiteral("About"));
            QCOMPARE(form->AboutBox->ProductName->text(),
                     QStringLiteral("Korvid MultiMedia Browser"));
            QCOMPARE(form->AboutBox->Version->text(), QStringLiteral("Version 1.01.32"));
            form->AboutBox->OKButton->click();
        });
        form->About1Click();

        // Closing the program closes its help.
        form->close();
        QVERIFY(!form->HelpWindow->isVisible());
    }

    void oneFileDraggedOntoTheDisplay()
    {
        TestDir dir;
        auto form = formOn(dir, {QStringLiteral("a.png"), QStringLiteral("b.png")});
        const QString other = writePicture(dir, QStringLiteral("elsewhere.png"));
        const auto drag = [&](const QStringList &files, QDropEvent::Type type) {
            QMimeData *data = FileDrag::create(files, nullptr);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
            QEvent *event = type == QEvent::DragEnter ? static_cast<QEvent *>(&enter) : &drop;
            event->setAccepted(false);
            QApplication::sendEvent(form->Image1, event);
            const bool accepted = event->isAccepted();
            delete data;
            return accepted;
        };
        QVERIFY(drag({other}, QEvent::DragEnter));
        QVERIFY(!drag({other, dir.filePath(QStringLiteral("a.png"))}, QEvent::DragEnter));
        form->SlideShowStart();
        QVERIFY(drag({other}, QEvent::Drop));
        QVERIFY(!form->ShowRunning);
        QCOMPARE(form->CurrentFile, other);
        QCOMPARE(form->FileListBox1->FileName(), QString());
    }

private:
    QList<MessageDlgCall> m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
