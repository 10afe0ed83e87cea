// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The RizirIrivu Dadozuz window: its settings, panes, masks and the routines that keep
// every folder list right, opened from the real main window.
#include <QLineEdit>
#include <QSplitter>
#include <QTest>

#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "files/MMManager.h"
#include "platform/Platform.h"
#include "toolkit/IniFile.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

QString iniPath()
{
    return QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI"));
}

} // namespace

class TestManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void init()
    {
        QFile::remove(iniPath());
        SetMessageDlgScript([](const MessageDlgCall &) { return QMessageBox::Yes; });
    }

    void cleanup() { SetMessageDlgScript({}); }

    void firstOpeningAndSettings()
    {
        TestDir dir;
        dir.write(QStringLiteral("a.png"));
        auto form = shownForm({dir.path()});
        const int panel = form->ControlPanel1->width();
        const QRect before = form->geometry();
        form->MultiMediaManager1Click();
        TMMManager *manager = form->MMManager;
        QVERIFY(manager);
        QCOMPARE(manager->windowTitle(), QStringLiteral("Korvid RizirIrivu Dadozuz"));
        QCOMPARE(manager->geometry(), QRect(0, 120, 450, 320));
        QTRY_COMPARE(manager->PaneSplitter->sizes().value(0), 220);
        QTRY_COMPARE(manager->Pane1.Splitter->sizes().value(0), 124);
        QCOMPARE(manager->minimumSize(), QSize(320, 240));
        // Pane 1 shows the main window's folder; the control panel steps aside.
        QCOMPARE(manager->Pane1.DirectoryListBox->Directory(), dir.path());
        QVERIFY(form->ControlPanel1->isHidden());
        QVERIFY(form->geometry().width() < before.width());
        // The media types: All Files, the main window's, Custom.
        TFilterComboBox *types = manager->Pane1.FilterComboBox;
        QCOMPARE(types->itemText(0), QStringLiteral("All Files"));
        QCOMPARE(types->itemText(1), QStringLiteral("All MultiMedia Files"));
        QCOMPARE(types->itemText(types->count() - 1), QStringLiteral("Custom"));

        // Closing writes the keys and brings the panel back.
        manager->close();
        QVERIFY(!form->ControlPanel1->isHidden());
        QCOMPARE(form->ControlPanel1->width(), panel);
        const IniFile ini(iniPath());
        QCOMPARE(ini.readString(QStringLiteral("Korvid32"), QStringLiteral("MLastDirectory1"), {}),
                 dir.path());
        QCOMPARE(ini.readInteger(QStringLiteral("Korvid32"), QStringLiteral("MW"), 0), 450);
        QCOMPARE(ini.readInteger(QStringLiteral("Korvid32"), QStringLiteral("LeftPanelWidth"), 0),
                 220);

        // A second opening keeps the panes where they were.
        manager->Pane2.DirectoryListBox->setDirectory(QDir::rootPath());
        form->MultiMediaManager1Click();
        QCOMPARE(form->MMManager, manager);
        QCOMPARE(manager->Pane2.DirectoryListBox->Directory(), QDir::rootPath());

        // Closing maximised keeps the last normal placement in the file.
        manager->setWindowState(Qt::WindowMaximized);
        manager->close();
        const IniFile again(iniPath());
        QCOMPARE(again.readInteger(QStringLiteral("Korvid32"), QStringLiteral("MWindowState"), 0),
                 2);
        QCOMPARE(again.readInteger(QStringLiteral("Korvid32"), QStringLiteral("MW"), 0), 450);
    }

    void maskEditAndListRoutines()
    {
        TestDir dir;
        dir.write(QStringLiteral("notes.TXT"));
        dir.write(QStringLiteral("a.png"));
        QDir().mkpath(dir.filePath(QStringLiteral("A/B/deep")));
        QDir().mkpath(dir.filePath(QStringLiteral("A/D")));
        auto form = shownForm({dir.path()});
        form->MultiMediaManager1Click();
        TMMManager *manager = form->MMManager;
        TManagerPane &pane = manager->Pane1;
        QTRY_VERIFY(!pane.FileListBox->isLoading());
        QCOMPARE(pane.FileListBox->count(), 2); // All Files

        // A mask typed and entered lists those files and shows Custom.
        pane.FilterEdit->setText(QStringLiteral("*.TXT"));
        QTest::keyClick(pane.FilterEdit, Qt::Key_Return);
        QTRY_VERIFY(!pane.FileListBox->isLoading());
        QCOMPARE(pane.FileListBox->count(), 1);
        QCOMPARE(pane.FilterComboBox->currentText(), QStringLiteral("Custom"));

        // A folder deleted: trees inside it move up to what still exists.
        manager->Pane2.DirectoryListBox->setDirectory(dir.filePath(QStringLiteral("A/B/deep")));
        QVERIFY(QDir(dir.filePath(QStringLiteral("A/B"))).removeRecursively());
        manager->CorrectDirBoxes(QStringLiteral("B"));
        QCOMPARE(manager->Pane2.DirectoryListBox->Directory(), dir.filePath(QStringLiteral("A")));
        QCOMPARE(form->DirectoryListBox1->Directory(), dir.path());

        // A folder renamed: trees under its parent go to the new name.
        manager->Pane2.DirectoryListBox->setDirectory(dir.filePath(QStringLiteral("A/D")));
        QVERIFY(QDir().rename(dir.filePath(QStringLiteral("A/D")),
                              dir.filePath(QStringLiteral("A/C"))));
        manager->UpdateDirBoxes(dir.filePath(QStringLiteral("A/D")),
                                dir.filePath(QStringLiteral("A/C")));
        QCOMPARE(manager->Pane2.DirectoryListBox->Directory(), dir.filePath(QStringLiteral("A/C")));

        // The main window's delete refreshes a pane on the same folder.
        pane.FilterComboBox->setCurrentIndex(0);
        QTRY_VERIFY(!pane.FileListBox->isLoading());
        QCOMPARE(pane.FileListBox->count(), 2);
        form->FileListBox1->setFileName(dir.filePath(QStringLiteral("a.png")));
        QTRY_COMPARE(form->FileListBox1->FileName(), dir.filePath(QStringLiteral("a.png")));
        form->Delete1Click();
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("a.png"))));
        QTRY_COMPARE(pane.FileListBox->count(), 1);
        // A double click in a pane shows the file in the main window.
        const QString shown = dir.filePath(QStringLiteral("b.png"));
        QImage picture(5, 5, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        QVERIFY(picture.save(shown));
        manager->UpdateAndHold(pane.FileListBox);
        QTRY_COMPARE(pane.FileListBox->count(), 2);
        manager->show();
        QVERIFY(QTest::qWaitForWindowExposed(manager));
        const QPoint at =
            pane.FileListBox->visualRect(pane.FileListBox->model()->index(0, 0)).center();
        QTest::mouseDClick(pane.FileListBox->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(form->CurrentFile, shown);
        QVERIFY(form->HasPicture);

        form->close();
        QVERIFY(!manager->isVisible());
    }
};

QTEST_MAIN(TestManager)
#include "tst_manager.moc"
