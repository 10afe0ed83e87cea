// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Bookmarks: the file, the store, its menus, jumps, the edit dialog and the organizer,
// and the main window's side of them.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "bookmarks/BMarkUtils.h"
#include "bookmarks/Bmarkorg.h"
#include "bookmarks/Bmedit.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "toolkit/DirectoryScan.h"
#include "app/HelpWindow.h"
#include <QTextBrowser>
#include "platform/Platform.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

TBookmark mark(const QString &name, const QString &path)
{
    return {name, std::make_shared<TLocation>(path), {}};
}

QStringList names(const TBookmarkList &marks)
{
    QStringList result;
    for (const TBookmark &m : marks)
        result.append(m.Name);
    return result;
}

QStringList menuTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// Answers the next modal Bookmark Edit dialog.
void answerEdit(const std::function<void(TBMEditDlg *)> &fill, bool ok)
{
    QTimer::singleShot(0, [fill, ok] {
        TBMEditDlg *dialog = nullptr;
        QTRY_VERIFY((dialog = qobject_cast<TBMEditDlg *>(QApplication::activeModalWidget())));
        fill(dialog);
        (ok ? dialog->OKBtn : dialog->CancelBtn)->click();
    });
}

} // namespace

class TestBookmarks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("bmarks.dat")));
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup() { SetMessageDlgScript({}); }

    void fileLines()
    {
        const QByteArray longPath = "/" + QByteArray(600, 'p');
        const TBookmarkList marks =
            ParseBookmarks("Pictures;D:\\Img;old\r\nC:\\Temp\r\n\r\nlone\nLF;/x\r\nlong;" + longPath
                           + "\r\n; spaced ;  \rlast");
        QCOMPARE(marks.size(), 7);
        QCOMPARE(marks.at(0).Name, QStringLiteral("Pictures"));
        QCOMPARE(marks.at(0).Location->Path, QStringLiteral("D:\\Img;old"));
        QCOMPARE(marks.at(1).Name, QStringLiteral("C:\\Temp"));
        QCOMPARE(marks.at(1).Location->Path, QStringLiteral("C:\\Temp"));
        QCOMPARE(marks.at(2).Name, QString());
        QCOMPARE(marks.at(2).Location->Path, QString());
        QCOMPARE(marks.at(3).Name, QStringLiteral("lone\nLF"));
        QCOMPARE(marks.at(4).Location->Path.size(), 601); // whole, however long
        QCOMPARE(marks.at(5).Name, QString());
        QCOMPARE(marks.at(5).Location->Path, QStringLiteral(" spaced ;  "));
        QCOMPARE(marks.at(6).Name, QStringLiteral("last")); // the end of the file ends it too
        QCOMPARE(FormatBookmarks({marks.at(1), marks.at(2)}),
                 QByteArray("C:\\Temp;C:\\Temp\r\n;\r\n"));
        QVERIFY(ParseBookmarks({}).isEmpty());
        QCOMPARE(ParseBookmarks("only\r\n").size(), 1);
    }

    void savingKeepsABackupAndIsWhole()
    {
        TestDir dir;
        const QString file = dir.filePath(QStringLiteral("bmarks.dat"));
        const QString backup = dir.filePath(QStringLiteral("bmarks.bak"));
        dir.write(QStringLiteral("bmarks.dat"), "first;/a\r\n");
        dir.write(QStringLiteral("bmarks.bak"), "oldest;/o\r\n");
        TBMarkUtils store;
        store.LoadFromFile(file);
        store.Marks.append(mark(QStringLiteral("second"), QStringLiteral("/b")));
        QVERIFY(store.SaveToFile(file));
        QCOMPARE(dir.read(QStringLiteral("bmarks.bak")), QByteArray("first;/a\r\n"));
        QCOMPARE(dir.read(QStringLiteral("bmarks.dat")), QByteArray("first;/a\r\nsecond;/b\r\n"));

        // An empty store writes an empty file; the old one becomes the backup.
        TBMarkUtils empty;
        QVERIFY(empty.SaveToFile(file));
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(QFileInfo(file).size(), 0);
        QCOMPARE(dir.read(QStringLiteral("bmarks.bak")), QByteArray("first;/a\r\nsecond;/b\r\n"));
        QVERIFY(QFileInfo::exists(backup));

        // A missing file is an empty store; a folder in the file's place fails the save
        // and leaves the folder alone.
        TBMarkUtils none;
        none.LoadFromFile(dir.filePath(QStringLiteral("missing.dat")));
        QVERIFY(none.Marks.isEmpty());
        QDir().mkpath(dir.filePath(QStringLiteral("blocked.dat")));
        QVERIFY(!none.SaveToFile(dir.filePath(QStringLiteral("blocked.dat"))));
        QVERIFY(!none.errorString().isEmpty());
    }

    void menusAndLookup()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("Add"));
        menu.addAction(QStringLiteral("Organize"));
        TBMarkUtils store;
        QString clicked;
        const auto click = [&clicked](const QString &name) { clicked = name; };
        store.BuildMenu(&menu, click);
        QCOMPARE(menuTexts(&menu), QStringList({"Add", "Organize"}));
        store.Marks = {mark("Pics", "/p1"), mark("PICS", "/p2"), mark("R&D", "/rd")};
        store.BuildMenu(&menu, click);
        store.BuildMenu(&menu, click); // rebuilt, not doubled
        QCOMPARE(menuTexts(&menu), QStringList({"Add", "Organize", "-", "Pics", "PICS", "R&&D"}));
        menu.actions().at(5)->trigger();
        QCOMPARE(clicked, QStringLiteral("R&D"));
        // Either spelling leads to the first.
        QCOMPARE(store.IndexOfName(QStringLiteral("PICS")), 0);
        QCOMPARE(store.IndexOfName(QStringLiteral("none")), -1);
        TBMarkUtils::ClearMenu(&menu);
        QCOMPARE(menuTexts(&menu), QStringList({"Add", "Organize"}));
    }

    void jumpsWalkUpToWhatExists()
    {
        TestDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("kept")));
        TBMarkUtils store;
        store.Marks = {mark("here", dir.filePath("kept")),
                       mark("gone", dir.filePath("kept/Gone/Deeper")),
                       mark("nowhere", "relative/nothing"), mark("root", "/")};
        QCOMPARE(store.BookmarkTarget(QStringLiteral("HERE"), nullptr), dir.filePath("kept"));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(store.BookmarkTarget(QStringLiteral("gone"), nullptr), dir.filePath("kept"));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("The requested path is no longer valid!"));
        QCOMPARE(m_messages.first().icon, QMessageBox::Warning);
        QCOMPARE(store.BookmarkTarget(QStringLiteral("nowhere"), nullptr), QString());
        QCOMPARE(store.BookmarkTarget(QStringLiteral("root"), nullptr), QStringLiteral("/"));
        QCOMPARE(store.BookmarkTarget(QStringLiteral("unknown"), nullptr), QString());
        // The stored bookmark is not changed by a jump to a parent.
        QCOMPARE(store.Marks.at(1).Location->Path, dir.filePath("kept/Gone/Deeper"));
        QCOMPARE(NearestExistingDirectory(QStringLiteral("/no-such-top/a/b")), QStringLiteral("/"));
    }

    void organizer()
    {
        TBMarkUtils store;
        store.Marks = {mark("gamma", "/g"), mark("Alpha", "/a"), mark("beta", "/b"),
                       mark("delta", "/d"), mark("eps", "/e")};
        TBMarkDlg dialog(&store);
        QRect closedAt;
        int accepted = 0;
        dialog.OnClosed = [&closedAt](const QRect &r) { closedAt = r; };
        dialog.OnAccepted = [&accepted] { ++accepted; };
        dialog.Bounds = QRect(20, 30, 100, 50); // smaller than the minimum
        dialog.show();
        QCOMPARE(dialog.ListBox1->count(), 5);
        QVERIFY(dialog.width() >= 273 && dialog.height() >= 186);
        QVERIFY(!dialog.GoBtn->isEnabled() && !dialog.EditBtn->isEnabled());
        QVERIFY(dialog.SortBtn->isEnabled());

        // Edit the third: it stays third.
        dialog.ListBox1->setCurrentRow(2);
        QVERIFY(dialog.EditBtn->isEnabled());
        answerEdit(
            [](TBMEditDlg *edit) {
                QCOMPARE(edit->NameEB->text(), QStringLiteral("beta"));
                QCOMPARE(edit->NameEB->selectedText(), QStringLiteral("beta"));
                edit->NameEB->setText(QStringLiteral("bravo"));
            },
            true);
        dialog.EditBtnClick();
        QCOMPARE(names(dialog.WorkingCopy),
                 QStringList({"gamma", "Alpha", "bravo", "delta", "eps"}));
        QCOMPARE(names(store.Marks).at(2), QStringLiteral("beta")); // not yet

        dialog.SortBtnClick();
        QCOMPARE(names(dialog.WorkingCopy),
                 QStringList({"Alpha", "bravo", "delta", "eps", "gamma"}));
        QVERIFY(!dialog.RemoveBtn->isEnabled()); // refilling clears the selection
        dialog.ListBox1->setCurrentRow(0);
        dialog.RemoveBtnClick();
        QCOMPARE(dialog.ListBox1->count(), 4);

        // Cancel: the store is as it was.
        dialog.CancelBtnClick();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(names(store.Marks), QStringList({"gamma", "Alpha", "beta", "delta", "eps"}));
        QCOMPARE(accepted, 0);
        QVERIFY(closedAt.isValid());

        // Removing every entry and OK empties the store.
        dialog.show();
        QCOMPARE(dialog.ListBox1->count(), 5);
        while (dialog.ListBox1->count() > 0) {
            dialog.ListBox1->setCurrentRow(0);
            dialog.RemoveBtnClick();
        }
        QVERIFY(!dialog.SortBtn->isEnabled());
        dialog.PopupMenu1Popup();
        QVERIFY(!dialog.Sort1->isEnabled() && !dialog.Go1->isEnabled());
        dialog.OKBtnClick();
        QVERIFY(store.Marks.isEmpty());
        QCOMPARE(accepted, 1);
    }

    void mainWindowBookmarks()
    {
        TestDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("photos")));
        QDir().mkpath(dir.filePath(QStringLiteral("music")));
        TestDir::writeFile(QDir(ConfigDir()).filePath(QStringLiteral("bmarks.dat")),
                           "Photos;" + dir.filePath("photos").toUtf8() + "\r\n");
        auto form = shownForm({dir.filePath(QStringLiteral("music"))});
        QCOMPARE(menuTexts(form->Bookmarks1), QStringList({"&Add", "&Organize", "-", "Photos"}));
        QCOMPARE(menuTexts(form->Bookmarks2), QStringList({"Add", "Organize", "-", "Photos"}));

        // A jump moves the navigation panel.
        form->Bookmarks1->actions().at(3)->trigger();
        QCOMPARE(form->DirectoryListBox1->Directory(), dir.filePath(QStringLiteral("photos")));
        QCOMPARE(form->FileListBox1->Directory(), dir.filePath(QStringLiteral("photos")));

        // Add proposes the current folder; with the organizer open it joins its list, so
        // OK there keeps it.
        form->Organize1Click();
        QVERIFY(form->BMarkDlg->isVisible());
        answerEdit([](TBMEditDlg *edit) { edit->NameEB->setText(QStringLiteral("Again")); }, true);
        form->Add1Click();
        QCOMPARE(menuTexts(form->Bookmarks1).last(), QStringLiteral("Again"));
        QCOMPARE(form->BMarkDlg->ListBox1->count(), 2);
        answerEdit([](TBMEditDlg *) {}, false);
        form->Add1Click();
        QCOMPARE(form->BMarkDlg->ListBox1->count(), 2);
        form->Organize1Click(); // already open: only brought to the front
        QCOMPARE(form->BMarkDlg->ListBox1->count(), 2);
        form->BMarkDlg->OKBtnClick();
        QCOMPARE(names(form->BMarks->Marks), QStringList({"Photos", "Again"}));

        // Go in the organizer sets the directory list.
        form->Organize1Click();
        form->BMarkDlg->ListBox1->setCurrentRow(0);
        form->BMarkDlg->GoBtnClick();
        QCOMPARE(form->DirectoryListBox1->Directory(), dir.filePath(QStringLiteral("photos")));
        form->BMarkDlg->move(50, 60);
        form->BMarkDlg->CancelBtnClick();

        // Closing writes the file and the organizer's bounds.
        form->close();
        QCOMPARE(TestDir::readFile(QDir(ConfigDir()).filePath(QStringLiteral("bmarks.dat"))),
                 "Photos;" + dir.filePath("photos").toUtf8() + "\r\nAgain;"
                     + dir.filePath("photos").toUtf8() + "\r\n");
        QCOMPARE(form->BMarkLeft, form->BMarkDlg->Bounds.left());
        QVERIFY(form->BMarkWidth >= 273);
    }

    // A file an older program wrote in a single-byte encoding, with a folder name that is
    // not UTF-8, next to UTF-8 lines: shown readable, and after three starts and exits
    // still the same bytes.
    void oldEncodingsSurviveStartAndExit()
    {
        TestDir dir;
        const QString file = QDir(ConfigDir()).filePath(QStringLiteral("bmarks.dat"));
        const QByteArray old = "Caf\xe9;/home/ren\xe9/Photos\r\n"
                               "Gr\xfc\xdf"
                               "e;/srv/m\xfcsik\r\n"
                               "Neu \xc3\xa9t\xc3\xa9;/tmp/\xc3\xa9t\xc3\xa9\r\n";
        TestDir::writeFile(file, old);
        for (int run = 0; run < 3; ++run) {
            auto form = shownForm({dir.path()});
            QCOMPARE(menuTexts(form->Bookmarks1).mid(3),
                     QStringList({QStringLiteral("Caf\u00e9"), QStringLiteral("Gr\u00fc\u00dfe"),
                                  QStringLiteral("Neu \u00e9t\u00e9")}));
            form->close();
            QCOMPARE(TestDir::readFile(file), old);
        }
        QVERIFY(m_messages.isEmpty());

        // An edited line is written anew; the others keep their bytes.
        TBookmarkList marks = ParseBookmarks(old);
        marks[1] = mark(QStringLiteral("Gr\u00fc\u00dfe"), QStringLiteral("/srv/neu"));
        QCOMPARE(FormatBookmarks(marks),
                 QByteArray("Caf\xe9;/home/ren\xe9/Photos\r\n"
                            "Gr\xc3\xbc\xc3\x9f"
                            "e;/srv/neu\r\n"
                            "Neu \xc3\xa9t\xc3\xa9;/tmp/\xc3\xa9t\xc3\xa9\r\n"));
        // A line without ";" still stands for name and path alike, in its own bytes.
        QCOMPARE(FormatBookmarks(ParseBookmarks("C:\\Caf\xe9")),
                 QByteArray("C:\\Caf\xe9;C:\\Caf\xe9\r\n"));
    }

    // A bookmark file that is there but cannot be read (a folder in its place; an I/O error)
    // is reported when the program starts and is left as it is when it ends.
    void unreadableFileIsReportedAndKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("i/o error") << QStringLiteral("eio");
    }

    void unreadableFileIsReportedAndKept()
    {
        QFETCH(QString, kind);
        TestDir dir;
        const QString file = QDir(ConfigDir()).filePath(QStringLiteral("bmarks.dat"));
        const QString backup = QDir(ConfigDir()).filePath(QStringLiteral("bmarks.bak"));
        QFile::remove(backup);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(file + QStringLiteral("/inside")));
        else // reading the start of a process's memory fails with EIO
            QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), file));
        {
            auto form = shownForm({dir.path()});
            QTRY_COMPARE(m_messages.size(), 1);
            QVERIFY2(m_messages.at(0).text.contains(QStringLiteral("could not be read")),
                     qPrintable(m_messages.at(0).text));
            QVERIFY(m_messages.at(0).text.contains(file));
            QCOMPARE(m_messages.at(0).icon, QMessageBox::Warning);
            QCOMPARE(menuTexts(form->Bookmarks1), QStringList({"&Add", "&Organize"}));

            // A bookmark added meanwhile cannot be saved over it: that is said at the end.
            answerEdit([](TBMEditDlg *) {}, true);
            form->Add1Click();
            form->close();
            QCOMPARE(m_messages.size(), 2);
            QVERIFY(m_messages.at(1).text.contains(QStringLiteral("left as it is")));
        }
        if (kind == QLatin1String("folder"))
            QVERIFY(QFileInfo(file + QStringLiteral("/inside")).isDir());
        else
            QCOMPARE(QFileInfo(file).symLinkTarget(), QStringLiteral("/proc/self/mem"));
        QVERIFY(!QFileInfo::exists(backup));
        QDir(file).removeRecursively();
        QFile::remove(file);
    }

    // The organizer's Help explains each of its commands.
    void organizerHelp()
    {
        TestDir dir;
        auto form = shownForm({dir.path()});
        form->Organize1Click();
        form->BMarkDlg->HelpBtn->click();
        QCOMPARE(form->HelpWindow->CurrentTopic(), 113);
        const QString text = form->HelpWindow->Browser->toPlainText();
        for (const char *command : {"Go", "Sort", "Edit", "Remove", "OK", "Cancel"}) {
            // Each command is a term of its own, followed by what it does.
            const qsizetype at = text.indexOf(u'\n' + QLatin1String(command) + u'\n');
            QVERIFY2(at >= 0, command);
            QVERIFY2(text.indexOf(u'\n', at + qsizetype(strlen(command)) + 2) - at > 60, command);
        }
        form->BMarkDlg->close();
        form->HelpWindow->close();
    }

private:
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
