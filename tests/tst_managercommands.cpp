// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file manager's commands on real files: drops between the panes and on the trash
// can, the shortcut menu and what it does, opened from the real main window.
#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTest>

#include "bookmarks/BMarkUtils.h"
#include "bookmarks/Bmedit.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "files/MMManager.h"
#include "files/Newren.h"
#include "toolkit/FileDrag.h"
#include "toolkit/HelpTopic.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

QString s_home;

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList listed(const TFileListBox *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->itemText(row));
    return names;
}

bool inTrash(const QString &name)
{
    return InTrash(s_home, name);
}

// Selects exactly these rows.
void selectRows(TFileListBox *list, const QList<int> &rows)
{
    list->clearSelection();
    for (const int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
}

QPoint rowCentre(const QAbstractItemView *view, int row)
{
    return view->visualRect(view->model()->index(row, 0)).center();
}

// Sends a drag of data to target (a list's viewport or the trash can), as the drag
// manager would; true when target takes it.
bool dragOver(QWidget *target, const QMimeData *data, Qt::KeyboardModifiers keys = {})
{
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          keys);
    enter.setAccepted(false);
    QApplication::sendEvent(target, &enter);
    return enter.isAccepted();
}

void drop(QWidget *target, const QMimeData *data, Qt::KeyboardModifiers keys = {})
{
    // A drop goes where the drag last entered.
    dragOver(target, data, keys);
    QDropEvent event(QPointF(4, 4), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, keys);
    QApplication::sendEvent(target, &event);
}

// The new name typed into the new/rename dialog, then OK.
void answerName(const QString &name)
{
    onModal([name](QWidget *dialog) {
        auto *renameDialog = qobject_cast<TNewRenDlg *>(dialog);
        QVERIFY(renameDialog);
        renameDialog->NewName->setText(name);
        renameDialog->OKBtn->click();
    });
}

struct Session
{
    std::unique_ptr<TKorvidForm> form;
    TMMManager *manager = nullptr;
};

// The main window on folder, the manager open, both panes ready.
Session openManager(const QString &folder, const QString &pane2Folder)
{
    Session session;
    session.form = shownForm({folder});
    session.form->MultiMediaManager1Click();
    session.manager = session.form->MMManager;
    session.manager->Pane2.DirectoryListBox->setDirectory(pane2Folder);
    const TMMManager *manager = session.manager;
    if (!QTest::qWaitFor([manager] {
            return !manager->Pane1.FileListBox->isLoading()
                   && !manager->Pane2.FileListBox->isLoading();
        }))
        qWarning("the lists are still reading");
    return session;
}

} // namespace

class TestManagerCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { s_home = IsolateHome(); }

    void init()
    {
        SetMessageDlgScript([](const MessageDlgCall &) { return QMessageBox::Yes; });
    }

    void cleanup() { SetMessageDlgScript({}); }

    void dropsBetweenThePanes()
    {
        TestDir from;
        TestDir to;
        for (const char *name : {"a.png", "b.png", "c.png", "d.png"})
            from.write(QLatin1String(name), name);
        auto [form, manager] = openManager(from.path(), to.path());
        TFileListBox *list1 = manager->Pane1.FileListBox;
        TFileListBox *list2 = manager->Pane2.FileListBox;

        // The selection is packed from the last row up.
        selectRows(list1, {0, 2});
        manager->PackFiles(list1);
        QCOMPARE(manager->PackList, QStringList({from.filePath(QStringLiteral("c.png")),
                                                 from.filePath(QStringLiteral("a.png"))}));

        // Only the other pane's file list takes the files.
        std::unique_ptr<QMimeData> data(FileDrag::create(manager->PackList, list1));
        QVERIFY(!dragOver(list1->viewport(), data.get()));
        QVERIFY(!dragOver(manager->Pane2.DirectoryListBox->viewport(), data.get()));
        QVERIFY(dragOver(list2->viewport(), data.get()));
        std::unique_ptr<QMimeData> foreign(FileDrag::create(manager->PackList, nullptr));
        QVERIFY(!dragOver(list2->viewport(), foreign.get()));
        QVERIFY(!dragOver(manager->trashcan1, foreign.get()));

        // A drop on its own pane does nothing.
        manager->FileListBox1DragDrop(list1, list1);
        QTest::qWait(20);
        QCOMPARE(filesIn(from.path()).size(), 4);

        // Ctrl held at the drop copies.
        drop(list2->viewport(), data.get(), Qt::ControlModifier);
        QTRY_COMPARE(filesIn(to.path()), QStringList({"a.png", "c.png"}));
        QCOMPARE(filesIn(from.path()).size(), 4);
        QTRY_COMPARE(listed(list2), QStringList({"a.png", "c.png"}));

        // Ctrl pressed during the drag and let go before the drop: a move.
        selectRows(list1, {1, 3});
        data.reset(FileDrag::create({}, list1));
        QTest::keyPress(manager->Pane2.FilterEdit, Qt::Key_Control);
        QVERIFY(manager->CtrlDown);
        QTest::keyRelease(manager->Pane2.FilterEdit, Qt::Key_Control);
        QVERIFY(!manager->CtrlDown);
        drop(list2->viewport(), data.get());
        QTRY_COMPARE(filesIn(to.path()), QStringList({"a.png", "b.png", "c.png", "d.png"}));
        QCOMPARE(filesIn(from.path()), QStringList({"a.png", "c.png"}));
        QCOMPARE(to.read(QStringLiteral("d.png")), QByteArray("d.png"));
        // Both lists were read again.
        QTRY_COMPARE(listed(list1), QStringList({"a.png", "c.png"}));
        QTRY_COMPARE(listed(list2), QStringList({"a.png", "b.png", "c.png", "d.png"}));

        // A file of the same name: "No" keeps the target's file and the source.
        TestDir::writeFile(from.filePath(QStringLiteral("a.png")), "newer");
        SetMessageDlgScript([](const MessageDlgCall &call) {
            return call.caption == QStringLiteral("Confirm File Replace") ? QMessageBox::No
                                                                          : QMessageBox::Yes;
        });
        selectRows(list1, {0});
        manager->PackList.clear();
        drop(list2->viewport(), data.get());
        QTRY_VERIFY(!manager->PackList.isEmpty());
        QTest::qWait(20);
        QCOMPARE(to.read(QStringLiteral("a.png")), QByteArray("a.png"));
        QCOMPARE(from.read(QStringLiteral("a.png")), QByteArray("newer"));
    }

    void theTrashCan()
    {
        TestDir dir;
        for (const char *name : {"trash-one.png", "trash-two.png", "keep.png"})
            dir.write(QLatin1String(name));
        QDir().mkpath(dir.filePath(QStringLiteral("pressed-dir/inner")));
        QDir().mkpath(dir.filePath(QStringLiteral("other-dir")));
        auto [form, manager] = openManager(dir.path(), dir.path());
        manager->resize(640, 700);
        manager->show();
        QVERIFY(QTest::qWaitForWindowExposed(manager));
        manager->Pane1.Splitter->setSizes({500, 100});
        TFileListBox *list1 = manager->Pane1.FileListBox;
        TFileListBox *list2 = manager->Pane2.FileListBox;

        // Files: only the list they came from is read again.
        selectRows(list1, {1, 2});
        std::unique_ptr<QMimeData> files(FileDrag::create({}, list1));
        QVERIFY(dragOver(manager->trashcan1, files.get()));
        drop(manager->trashcan1, files.get());
        QTRY_VERIFY(inTrash(QStringLiteral("trash-two.png")));
        QVERIFY(inTrash(QStringLiteral("trash-one.png")));
        QCOMPARE(filesIn(dir.path()), QStringList({"keep.png"}));
        QTRY_COMPARE(listed(list1), QStringList({"keep.png"}));
        QCOMPARE(list2->count(), 3);
        QCOMPARE(form->FileListBox1->count(), 3);

        // A folder: the one pressed last goes, not the tree's current one.
        TDirectoryListBox *tree = manager->Pane1.DirectoryListBox;
        int pressed = -1;
        for (int row = 0; row < tree->count(); ++row) {
            if (tree->pathAt(row).endsWith(QLatin1String("/pressed-dir")))
                pressed = row;
        }
        QVERIFY(pressed >= 0);
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, rowCentre(tree, pressed));
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, rowCentre(tree, pressed));
        QCOMPARE(manager->Pane1.DirectoryTag, pressed);
        QCOMPARE(tree->Directory(), dir.path());
        manager->Pane2.DirectoryListBox->setDirectory(
            dir.filePath(QStringLiteral("pressed-dir/inner")));
        std::unique_ptr<QMimeData> folder(FileDrag::create({}, tree));
        QVERIFY(dragOver(manager->trashcan1, folder.get()));
        drop(manager->trashcan1, folder.get());
        QTRY_VERIFY(inTrash(QStringLiteral("pressed-dir")));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("other-dir"))).isDir());
        // A tree inside the deleted folder moves up to what still exists.
        QCOMPARE(manager->Pane2.DirectoryListBox->Directory(), dir.path());

        // A press beside every folder deletes nothing.
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {},
                          QPoint(4, tree->viewport()->height() - 2));
        QCOMPARE(manager->Pane1.DirectoryTag, -1);
        drop(manager->trashcan1, folder.get());
        QTest::qWait(20);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("other-dir"))).isDir());
        QVERIFY(QFileInfo(dir.path()).isDir());
    }

    void shortcutMenuStates()
    {
        TestDir dir;
        for (const char *name : {"a.png", "b.png", "c.png", "d.png", "e.png"})
            dir.write(QLatin1String(name));
        QDir().mkpath(dir.filePath(QStringLiteral("sub")));
        auto [form, manager] = openManager(dir.path(), dir.path());
        manager->show();
        QVERIFY(QTest::qWaitForWindowExposed(manager));
        TFileListBox *list = manager->Pane1.FileListBox;
        const auto rightClick = [&](QAbstractItemView *view, const QPoint &at,
                                    Qt::KeyboardModifiers keys = {}) {
            QTest::mouseClick(view->viewport(), Qt::RightButton, keys, at);
            QTRY_VERIFY(manager->PopupMenu1->isVisible());
            manager->PopupMenu1->hide();
        };

        // No file selected: delete and rename are off; two selected: rename is off.
        list->clearSelection();
        rightClick(list, QPoint(4, list->viewport()->height() - 2));
        QCOMPARE(manager->PopupComponent.data(), list);
        QVERIFY(manager->NewDirectory1->isVisible() == false);
        QVERIFY(!manager->DeleteFile1->isEnabled());
        QVERIFY(!manager->RenameFile1->isEnabled());
        QCOMPARE(manager->DeleteFile1->text(), QStringLiteral("&Delete File(s)"));
        QCOMPARE(manager->VorodOdirStart1->text(), QStringLiteral("VorodOdir Start"));
        selectRows(list, {0, 1});
        manager->PopupMenu1Popup();
        QVERIFY(manager->DeleteFile1->isEnabled());
        QVERIFY(!manager->RenameFile1->isEnabled());

        // A right click on an unselected file selects only it; on a selected one, keeps all.
        selectRows(list, {0, 1, 2});
        rightClick(list, rowCentre(list, 4));
        QCOMPARE(list->SelectedNames(), QStringList({"e.png"}));
        QVERIFY(manager->RenameFile1->isEnabled());
        selectRows(list, {0, 1, 2});
        rightClick(list, rowCentre(list, 1));
        QCOMPARE(list->SelectedNames(), QStringList({"a.png", "b.png", "c.png"}));
        rightClick(list, rowCentre(list, 4), Qt::ControlModifier);
        QCOMPARE(list->SelectedNames().size(), 3);

        // On a folder: the tree moves into it and the commands act on it.
        TDirectoryListBox *tree = manager->Pane1.DirectoryListBox;
        const int sub = tree->count() - 1;
        QVERIFY(tree->pathAt(sub).endsWith(QLatin1String("/sub")));
        rightClick(tree, rowCentre(tree, sub));
        QCOMPARE(manager->PopupDir, dir.filePath(QStringLiteral("sub")));
        QCOMPARE(tree->Directory(), dir.filePath(QStringLiteral("sub")));
        QCOMPARE(manager->Pane1.DirectoryTag, -1);
        QVERIFY(manager->NewDirectory1->isVisible());
        QCOMPARE(manager->DeleteFile1->text(), QStringLiteral("&Delete Directory"));
        QCOMPARE(manager->RenameFile1->text(), QStringLiteral("&Rename Directory"));
        QVERIFY(manager->DeleteFile1->isEnabled());
        // Beside every folder: the current one, and nothing to delete or rename.
        rightClick(tree, QPoint(4, tree->viewport()->height() - 2));
        QCOMPARE(manager->PopupDir, dir.filePath(QStringLiteral("sub")));
        QVERIFY(!manager->DeleteFile1->isEnabled());
        QVERIFY(!manager->RenameFile1->isEnabled());
    }

    void helpAndBookmarksOnShow()
    {
        TestDir dir;
        auto [form, manager] = openManager(dir.path(), dir.path());
        manager->show();
        QVERIFY(QTest::qWaitForWindowExposed(manager));
        QList<int> topics;
        SetHelpHandler([&topics](int topic) { topics.append(topic); });
        QTest::keyClick(manager->Pane2.FileListBox, Qt::Key_F1);
        QTest::keyClick(manager->Pane1.DirectoryListBox, Qt::Key_F1);
        QTest::keyClick(manager->CloseBtn, Qt::Key_F1);
        manager->Help1->trigger();
        SetHelpHandler({});
        QCOMPARE(topics, QList<int>({107, 106, 200, 200}));

        // Showing the window again brings the bookmark store's entries into its menu.
        manager->close();
        form->BMarks->Marks.append(
            {QStringLiteral("fresh"), std::make_shared<const TLocation>(dir.path()), {}});
        form->MultiMediaManager1Click();
        QCOMPARE(manager->Bookmarks1->actions().last()->text(), QStringLiteral("fresh"));
    }

    // What a user types into the rename box: only a name of this folder is taken, a hidden
    // one only when asked for; the lists show the disk after every answer.
    void renameTakesOnlyANameOfTheFolder()
    {
        TestDir dir;
        dir.write(QStringLiteral("photo.jpg"));
        dir.write(QStringLiteral("taken.jpg"));
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        auto [form, manager] = openManager(dir.path(), dir.path());
        TFileListBox *list1 = manager->Pane1.FileListBox;
        const auto onDisk = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
        QList<MessageDlgCall> said;
        RecordMessages(said, QMessageBox::No);

        QStringList typed;
        onModal<TNewRenDlg>([&](TNewRenDlg *dialog) {
            // Enter at once: the box holds ".jpg" alone, a hidden name; No keeps the box.
            QCOMPARE(dialog->NewName->text(), QStringLiteral(".jpg"));
            QTest::keyClick(dialog->NewName, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            for (const QString &name :
                 {QStringLiteral("../escaped.jpg"), QStringLiteral("sub/x.jpg"),
                  QStringLiteral(".."), QStringLiteral("."), QString(),
                  QStringLiteral("taken.jpg")}) {
                dialog->NewName->selectAll();
                QTest::keyClick(dialog->NewName, Qt::Key_Delete);
                QTest::keyClicks(dialog->NewName, name);
                QTest::keyClick(dialog->NewName, Qt::Key_Return);
                QVERIFY2(dialog->isVisible(), qPrintable(name));
                typed.append(name);
            }
            dialog->CancelBtn->click();
        });
        selectRows(list1, {0});
        manager->PopupComponent = list1;
        manager->RenameFile1Click();
        QCOMPARE(typed.size(), 6);
        QCOMPARE(said.size(), 7);
        QCOMPARE(said.front().icon, QMessageBox::Question);
        QVERIFY(said.front().text.contains(QLatin1String("hidden")));
        QVERIFY(said.at(1).text.contains(QLatin1String("\"/\"")));
        QVERIFY(!QFileInfo::exists(QDir(dir.path()).absoluteFilePath("../escaped.jpg")));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("sub/x.jpg"))));
        QCOMPARE(onDisk(), QStringList({"photo.jpg", "taken.jpg"}));
        QTRY_COMPARE(listed(list1), onDisk());

        // Yes to the question makes the file hidden, and it leaves the lists as it leaves
        // the desktop's.
        said.clear();
        RecordMessages(said, QMessageBox::Yes);
        answerName(QStringLiteral(".secret.jpg"));
        selectRows(list1, {0});
        manager->PopupComponent = list1;
        manager->RenameFile1Click();
        QCOMPARE(said.size(), 1);
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral(".secret.jpg"))));
        QTRY_COMPARE(listed(list1), QStringList({"taken.jpg"}));
        QTRY_COMPARE(listed(manager->Pane2.FileListBox), QStringList({"taken.jpg"}));
    }

    void renameAndDeleteFiles()
    {
        TestDir dir;
        for (const char *name : {"b.png", "d.png", "f.png", "h.png"})
            dir.write(QLatin1String(name));
        auto [form, manager] = openManager(dir.path(), dir.path());
        form->ConfirmDelete = true;
        TFileListBox *list1 = manager->Pane1.FileListBox;
        TFileListBox *list2 = manager->Pane2.FileListBox;

        // Rename: every list on the folder reads it again, the file made meanwhile too.
        dir.write(QStringLiteral("made-meanwhile.png"));
        selectRows(list1, {1});
        manager->PopupComponent = list1;
        answerName(QStringLiteral("zz.png"));
        manager->RenameFile1Click();
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("zz.png"))));
        QTRY_COMPARE(listed(list1),
                     QStringList({"b.png", "f.png", "h.png", "made-meanwhile.png", "zz.png"}));
        QTRY_COMPARE(list2->count(), 5);
        QVERIFY(listed(list2).contains(QStringLiteral("zz.png")));
        QTRY_COMPARE(form->FileListBox1->count(), 5);

        // Delete: the other pane on the same folder keeps its place by index.
        list2->setItemIndex(3);
        selectRows(list1, {0});
        manager->DeleteFile1Click();
        QVERIFY(inTrash(QStringLiteral("b.png")));
        QTRY_COMPARE(list2->count(), 4);
        QCOMPARE(list2->ItemIndex(), 3);
        QTRY_COMPARE(form->FileListBox1->count(), 4);

        // Answering No to the question deletes nothing.
        SetMessageDlgScript([](const MessageDlgCall &) { return QMessageBox::No; });
        QTRY_VERIFY(!list1->isLoading());
        selectRows(list1, {0});
        manager->DeleteFile1Click();
        QCOMPARE(manager->PackList, QStringList({dir.filePath(QStringLiteral("f.png"))}));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("f.png"))));
    }

    void directoryCommands()
    {
        TestDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("albums/old")));
        auto [form, manager] = openManager(dir.path(), dir.filePath(QStringLiteral("albums")));
        manager->show();
        QVERIFY(QTest::qWaitForWindowExposed(manager));
        TDirectoryListBox *tree = manager->Pane1.DirectoryListBox;
        const auto rowOf = [tree](const QString &path) {
            for (int row = 0; row < tree->count(); ++row) {
                if (tree->pathAt(row) == path)
                    return row;
            }
            return -1;
        };
        const auto rightClickOn = [&](const QString &path) {
            const int row = rowOf(path);
            QVERIFY(row >= 0);
            QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, rowCentre(tree, row));
            QTRY_VERIFY(manager->PopupMenu1->isVisible());
            manager->PopupMenu1->hide();
        };

        // A new folder is made inside the one clicked: trees there show it below them,
        // trees deeper inside go to it.
        manager->Pane2.DirectoryListBox->setDirectory(dir.filePath(QStringLiteral("albums/old")));
        rightClickOn(dir.filePath(QStringLiteral("albums")));
        answerName(QStringLiteral("new"));
        manager->NewDirectory1Click();
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("albums/new"))).isDir());
        QCOMPARE(tree->Directory(), dir.filePath(QStringLiteral("albums")));
        QVERIFY(rowOf(dir.filePath(QStringLiteral("albums/new"))) >= 0);
        QCOMPARE(manager->Pane2.DirectoryListBox->Directory(),
                 dir.filePath(QStringLiteral("albums/new")));

        // Rename a folder.
        tree->setDirectory(dir.filePath(QStringLiteral("albums")));
        rightClickOn(dir.filePath(QStringLiteral("albums/old")));
        answerName(QStringLiteral("older"));
        manager->RenameFile1Click();
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("albums/older"))).isDir());
        QCOMPARE(tree->Directory(), dir.filePath(QStringLiteral("albums/older")));

        // Delete it through the menu: to the trash, and the tree steps up.
        tree->setDirectory(dir.filePath(QStringLiteral("albums")));
        rightClickOn(dir.filePath(QStringLiteral("albums/older")));
        manager->DeleteFile1Click();
        QVERIFY(inTrash(QStringLiteral("older")));
        QCOMPARE(tree->Directory(), dir.filePath(QStringLiteral("albums")));
    }

    void slideshowAndBookmarksFromAPane()
    {
        TestDir dir;
        TestDir other;
        for (const char *name : {"a.png", "b.png", "c.png"})
            writePicture(dir, QLatin1String(name));
        QDir().mkpath(other.filePath(QStringLiteral("PHOTOS")));
        auto [form, manager] = openManager(other.path(), dir.path());
        TFileListBox *list2 = manager->Pane2.FileListBox;

        // The show starts in the pane's folder at its selected file lowest on screen.
        selectRows(list2, {1, 2});
        manager->PopupComponent = list2;
        manager->VorodOdirStart1Click();
        QVERIFY(form->ShowRunning);
        QCOMPARE(form->DirectoryListBox1->Directory(), dir.path());
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("c.png")));
        manager->PopupMenu1Popup();
        QCOMPARE(manager->VorodOdirStart1->text(), QStringLiteral("VorodOdir Stop"));
        manager->VorodOdirStart1Click();
        QVERIFY(!form->ShowRunning);

        // A bookmark from a pane: stored lower case where that names the same folder; on
        // a file system that tells case apart the folder keeps its name.
        const auto addFrom = [&](TDirectoryListBox *tree, const QString &path) {
            tree->setDirectory(path);
            manager->PopupComponent = tree;
            onModal([](QWidget *dialog) {
                auto *edit = qobject_cast<TBMEditDlg *>(dialog);
                QVERIFY(edit);
                edit->OKBtn->click();
            });
            manager->Add1Click();
        };
        const int before = form->BMarks->Marks.size();
        addFrom(manager->Pane1.DirectoryListBox, other.filePath(QStringLiteral("PHOTOS")));
        QCOMPARE(form->BMarks->Marks.size(), before + 1);
        const QString stored = form->BMarks->Marks.last().Location->Path;
        QVERIFY(QFileInfo(stored).isDir());
        QCOMPARE(QFileInfo(stored).canonicalFilePath(),
                 QFileInfo(other.filePath(QStringLiteral("PHOTOS"))).canonicalFilePath());
        // The manager's menu shows it at once, the main window's after its next rebuild,
        // which rebuilds the manager's too.
        QList<QAction *> items = manager->Bookmarks1->actions();
        QCOMPARE(items.last()->text(), form->BMarks->Marks.last().Name);
        QVERIFY(form->Bookmarks1->actions().size() < items.size());
        form->UpdateBMarks();
        QCOMPARE(form->Bookmarks1->actions().last()->text(), items.last()->text());
        items = manager->Bookmarks1->actions();
        QCOMPARE(items.last()->text(), form->BMarks->Marks.last().Name);

        // A bookmark click moves the pane the menu was opened on, only.
        manager->PopupComponent = list2;
        items.last()->trigger();
        QCOMPARE(manager->Pane2.DirectoryListBox->Directory(), stored);
        QCOMPARE(list2->Directory(), stored);
        QCOMPARE(manager->Pane1.DirectoryListBox->Directory(), stored);
        manager->Pane1.DirectoryListBox->setDirectory(other.path());
        manager->PopupComponent = list2;
        items.last()->trigger();
        QCOMPARE(manager->Pane1.DirectoryListBox->Directory(), other.path());
    }
};

QTEST_MAIN(TestManagerCommands)
#include "tst_managercommands.moc"
