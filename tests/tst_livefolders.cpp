// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The lists follow the disk as a user meets them, on a real X server with a window
// manager: files made, renamed and removed by another program while the main window,
// the file manager and the open dialog are up; a burst of ten thousand files; a folder
// removed under the window; F5; and the order of names in a German locale.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <functional>

#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/TestMedia.h"
#include "common/WidgetTestHelpers.h"
#include "common/XSession.h"
#include "files/MMManager.h"
#include "files/MMOpen.h"
#include "platform/Platform.h"
#include "toolkit/DirectoryScan.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

// Runs a shell command as another program would, and waits until it has finished.
bool runOutside(const QString &command)
{
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    return shell.waitForFinished(60000) && shell.exitCode() == 0;
}

QStringList namesIn(const TFileListBox *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->itemText(row));
    return names;
}

// Milliseconds until the list shows what wanted asks for, or -1 after two seconds.
qint64 millisecondsUntil(const std::function<bool()> &wanted)
{
    QElapsedTimer clock;
    clock.start();
    return QTest::qWaitFor(wanted, 2000) ? clock.elapsed() : -1;
}

bool maximise(QWidget *window)
{
    window->showMaximized();
    const int screenWidth = window->screen()->availableGeometry().width();
    return QTest::qWaitFor(
        [window, screenWidth] {
            return window->isMaximized() && window->width() >= screenWidth - 16;
        },
        10000);
}

// Files made by another program reach list within 500 ms each: one added, one renamed,
// one removed. Returns what went wrong.
QStringList followsOutsideChanges(TFileListBox *list, const TestDir &dir, const QString &where)
{
    QStringList wrong;
    const auto late = [&](const char *what, qint64 ms) {
        if (ms < 0 || ms > 500)
            wrong.append(QStringLiteral("%1: %2 took %3 ms")
                             .arg(where, QLatin1String(what))
                             .arg(ms < 0 ? QStringLiteral("over 2000") : QString::number(ms)));
    };
    const QString folder = dir.path();
    const auto shows = [list](const QString &name) { return namesIn(list).contains(name); };
    QTest::qWait(300); // the changes of the setting up have settled
    runOutside(QStringLiteral("cp '%1/b-second.jpg' '%1/n-new.jpg'").arg(folder));
    late("a file added", millisecondsUntil([&] { return shows(QStringLiteral("n-new.jpg")); }));
    QTest::qWait(300);
    runOutside(QStringLiteral("mv '%1/n-new.jpg' '%1/r-renamed.jpg'").arg(folder));
    late("a file renamed", millisecondsUntil([&] {
             return shows(QStringLiteral("r-renamed.jpg")) && !shows(QStringLiteral("n-new.jpg"));
         }));
    QTest::qWait(300);
    runOutside(QStringLiteral("rm '%1/r-renamed.jpg'").arg(folder));
    late("a file removed",
         millisecondsUntil([&] { return !shows(QStringLiteral("r-renamed.jpg")); }));
    return wrong;
}

} // namespace

class TestLiveFolders : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
        m_picture = m_pictures.filePath(QStringLiteral("mid-3000x2000.jpg"));
        writeJpeg(m_picture, QSize(3000, 2000));
    }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup() { SetMessageDlgScript({}); }

    void mainListFollowsTheDisk_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("default size") << false;
        QTest::newRow("maximised") << true;
    }

    // The main window's list, with the user's selection and first visible line kept
    // over the changes.
    void mainListFollowsTheDisk()
    {
        QFETCH(bool, maximised);
        TestDir dir;
        for (int i = 0; i < 60; ++i)
            QVERIFY(QFile::copy(m_picture, dir.filePath(QStringLiteral("a%1.jpg").arg(i))));
        QVERIFY(QFile::copy(m_picture, dir.filePath(QStringLiteral("b-second.jpg"))));
        auto form = shownForm({dir.filePath(QStringLiteral("a40.jpg"))});
        if (maximised)
            QVERIFY(maximise(form.get()));
        TFileListBox *list = form->FileListBox1;
        QTRY_COMPARE(form->CurrentFileName, QStringLiteral("a40.jpg"));
        QTRY_VERIFY(!list->isLoading());
        // The user scrolls the list a little and clicks a picture.
        const int row = int(namesIn(list).indexOf(QStringLiteral("a45.jpg")));
        QVERIFY(ActivateForReal(form.get()));
        QTest::qWait(300); // the window has its final size
        list->scrollTo(list->model()->index(row, 0), QAbstractItemView::PositionAtCenter);
        QVERIFY(list->TopIndex() > 0);
        ClickForReal(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
        QTRY_COMPARE(list->SelectedNames(), QStringList{QStringLiteral("a45.jpg")});
        const QString top = list->itemText(list->TopIndex());
        const QString shown = form->CurrentFileName;

        const QStringList wrong = followsOutsideChanges(list, dir, QStringLiteral("main list"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
        QCOMPARE(list->SelectedNames(), QStringList{QStringLiteral("a45.jpg")});
        QCOMPARE(list->itemText(list->TopIndex()), top);
        QCOMPARE(form->CurrentFileName, shown);
    }

    // Both panes of the file manager, opened with its key, one of them maximised.
    void managerPanesFollowTheDisk()
    {
        TestDir left;
        TestDir right;
        QVERIFY(QFile::copy(m_picture, left.filePath(QStringLiteral("b-second.jpg"))));
        QVERIFY(QFile::copy(m_picture, right.filePath(QStringLiteral("b-second.jpg"))));
        auto form = shownForm({left.filePath(QStringLiteral("b-second.jpg"))});
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("ctrl+m")}));
        QTRY_VERIFY(form->MMManager && form->MMManager->isVisible());
        TMMManager *manager = form->MMManager;
        QVERIFY(maximise(manager));
        manager->Pane2.DirectoryListBox->setDirectory(right.path());
        QTRY_COMPARE(manager->Pane2.FileListBox->Directory(), right.path());
        QStringList wrong =
            followsOutsideChanges(manager->Pane1.FileListBox, left, QStringLiteral("left pane"));
        wrong +=
            followsOutsideChanges(manager->Pane2.FileListBox, right, QStringLiteral("right pane"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));

        // A folder made beside the files shows in the pane's folder list.
        QVERIFY(runOutside(QStringLiteral("mkdir '%1/z-folder'").arg(right.path())));
        TDirectoryListBox *folders = manager->Pane2.DirectoryListBox;
        const auto listed = [folders, &right] {
            for (int row = 0; row < folders->count(); ++row) {
                if (folders->pathAt(row) == right.filePath(QStringLiteral("z-folder")))
                    return true;
            }
            return false;
        };
        const qint64 ms = millisecondsUntil(listed);
        QVERIFY2(ms >= 0 && ms <= 500,
                 qPrintable(QStringLiteral("a new folder took %1 ms to show").arg(ms)));
        manager->close();
    }

    // The open dialog, opened from the menu with the real keys.
    void openDialogFollowsTheDisk()
    {
        TestDir dir;
        QVERIFY(QFile::copy(m_picture, dir.filePath(QStringLiteral("b-second.jpg"))));
        auto form = shownForm({dir.filePath(QStringLiteral("b-second.jpg"))});
        QStringList wrong;
        bool done = false;
        connect(form->MMOpenDialog1, &TMMOpenDialog::DialogCreated, this,
                [&](TMultiOpenMM *dialog) {
                    whenShown(dialog, [&, dialog] {
                        QTRY_VERIFY(!dialog->FileListBox1->isLoading());
                        wrong = followsOutsideChanges(dialog->FileListBox1, dir,
                                                      QStringLiteral("open dialog"));
                        dialog->CancelBtn->click();
                        done = true;
                    });
                });
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("alt+f"), QStringLiteral("o")}));
        QTRY_VERIFY_WITH_TIMEOUT(done, 60000);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    // Ten thousand files copied in: a few readings, not one a file, and all of them shown.
    void burstIsReadAFewTimes()
    {
        TestDir dir;
        QVERIFY(QFile::copy(m_picture, dir.filePath(QStringLiteral("b-second.jpg"))));
        auto form = shownForm({dir.filePath(QStringLiteral("b-second.jpg"))});
        TFileListBox *list = form->FileListBox1;
        QTRY_VERIFY(!list->isLoading());
        const int before = list->Readings();
        QVERIFY(
            runOutside(QStringLiteral("cd '%1' && for i in $(seq 10000); do : > burst$i.jpg; done")
                           .arg(dir.path())));
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), 10001, 10000);
        QTest::qWait(3500); // any reading still due
        const int readings = list->Readings() - before;
        QVERIFY2(readings >= 1 && readings <= 10,
                 qPrintable(QStringLiteral("%1 readings for the burst").arg(readings)));
        QCOMPARE(list->count(), 10001);
    }

    // The folder shown is removed by another program: the lists move to its parent and
    // the user is told.
    void removedFolderMovesToItsParent_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("removed") << "rm -r '%1'";
        QTest::newRow("renamed") << "mv '%1' '%1-old'";
    }

    void removedFolderMovesToItsParent()
    {
        QFETCH(QString, command);
        TestDir dir;
        const QString inner = dir.filePath(QStringLiteral("holiday"));
        QVERIFY(QDir().mkpath(inner));
        QVERIFY(QFile::copy(m_picture, inner + QStringLiteral("/b-second.jpg")));
        auto form = shownForm({inner});
        QTRY_COMPARE(form->DirectoryListBox1->Directory(), inner);
        QTest::qWait(300);
        QVERIFY(runOutside(command.arg(inner)));
        QTRY_COMPARE(form->DirectoryListBox1->Directory(), dir.path());
        QTRY_COMPARE(form->FileListBox1->Directory(), dir.path());
        QTRY_COMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.at(0).text, QStringLiteral("The directory %1 no longer exists.")
                                            .arg(QDir::toNativeSeparators(inner)));
    }

    // F5 reads the list again at once, without a change on disk to prompt it.
    void f5ReadsAgain()
    {
        TestDir dir;
        QVERIFY(QFile::copy(m_picture, dir.filePath(QStringLiteral("b-second.jpg"))));
        auto form = shownForm({dir.filePath(QStringLiteral("b-second.jpg"))});
        TFileListBox *list = form->FileListBox1;
        QTRY_VERIFY(!list->isLoading());
        QTest::qWait(300);
        const int before = list->Readings();
        list->setFocus();
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("F5")}));
        QTRY_COMPARE(list->Readings(), before + 1);
        QTRY_VERIFY(!list->isLoading());
        QCOMPARE(list->SelectedNames(), QStringList{QStringLiteral("b-second.jpg")});
    }

    // Numbers by value, case ignored, umlauts among their letters; the lists of the
    // window in that order.
    void germanOrder()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([&saved] { QLocale::setDefault(saved); });
        TestDir dir;
        const QStringList names{"Zebra.jpg", "img10.jpg", "apfel.jpg", "Birne.jpg",
                                "img2.jpg",  "Äpfel.jpg", "Anton.jpg", "IMG1.jpg"};
        for (const QString &name : names)
            QVERIFY(QFile::copy(m_picture, dir.filePath(name)));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Ordner 10"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("ordner 9"))));
        auto form = shownForm({dir.filePath(QStringLiteral("Birne.jpg"))});
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        const QStringList shown = namesIn(form->FileListBox1);
        QCOMPARE(shown.indexOf("img2.jpg") < shown.indexOf("img10.jpg"), true);
        QCOMPARE(shown.indexOf("IMG1.jpg") < shown.indexOf("img2.jpg"), true);
        // "Äpfel" sorts with the "A"s: after "Anton", before "Birne".
        QCOMPARE(shown.mid(0, 3), QStringList({"Anton.jpg", "apfel.jpg", "Äpfel.jpg"}));
        QCOMPARE(shown.last(), QStringLiteral("Zebra.jpg"));
        TDirectoryListBox *folders = form->DirectoryListBox1;
        const int current = folders->currentRow();
        QCOMPARE(folders->pathAt(current + 1), dir.filePath(QStringLiteral("ordner 9")));
        QCOMPARE(folders->pathAt(current + 2), dir.filePath(QStringLiteral("Ordner 10")));
    }

private:
    TestDir m_pictures;
    QString m_picture;
    QList<MessageDlgCall> m_messages;
};

KORVID_XSESSION_MAIN(TestLiveFolders)
#include "tst_livefolders.moc"
