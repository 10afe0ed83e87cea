// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation controls: masks, the folder reading, the file list and directory list.
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "common/TestDir.h"
#include "toolkit/DirectoryScan.h"
#include "toolkit/FileMask.h"
#include "toolkit/ShownName.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

void waitForList(TFileListBox &list)
{
    QTRY_VERIFY_WITH_TIMEOUT(!list.isLoading(), 20000);
}

} // namespace

class TestFileList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void masks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        const QString media = QStringLiteral("*.BMP;*.GIF;*.JPG;");
        QTest::newRow("upper") << media << "A.BMP" << true;
        QTest::newRow("lower extension") << media << "photo.jpg" << true;
        QTest::newRow("other") << media << "notes.txt" << false;
        QTest::newRow("no extension") << media << "JPG" << false;
        QTest::newRow("longer extension") << media << "a.jpgx" << false;
        QTest::newRow("two dots") << media << "a.b.gif" << true;
        QTest::newRow("empty mask") << ""
                                    << "anything" << true;
        QTest::newRow("star dot star") << "*.*"
                                       << "README" << true;
        QTest::newRow("wildcard") << "IMG_??.*"
                                  << "img_01.png" << true;
        QTest::newRow("wildcard miss") << "IMG_??.*"
                                       << "img_001.png" << false;
        QTest::newRow("blank parts") << " ; *.PNG ;"
                                     << "x.png" << true;
        QTest::newRow("brackets literal") << "*.WAV"
                                          << "[1].wav" << true;
        // The longer spellings of this system are the same kinds.
        QTest::newRow("jpeg is JPG") << "*.JPG"
                                     << "holiday.jpeg" << true;
        QTest::newRow("jpe is JPG") << "*.JPG"
                                    << "holiday.JPE" << true;
        QTest::newRow("tiff is TIF") << "*.TIF"
                                     << "scan.Tiff" << true;
        QTest::newRow("tiff is no JPG") << "*.JPG"
                                        << "scan.tiff" << false;
        QTest::newRow("jpeg mask lists jpg") << "*.JPEG"
                                             << "a.jpg" << true;
    }

    void shownNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "photo.jpg"
                               << "photo.jpg";
        QTest::newRow("newline") << "new\nline.jpg"
                                 << "new\\nline.jpg";
        QTest::newRow("tab and return") << "a\tb\r.png"
                                        << "a\\tb\\r.png";
        QTest::newRow("escape") << "\x1b[31m.png"
                                << "\\x1B[31m.png";
        QTest::newRow("delete") << QStringLiteral("x\u007f.png") << "x\\x7F.png";
        QTest::newRow("not control")
            << QStringLiteral("caf\u00e9 \u2603.png") << QStringLiteral("caf\u00e9 \u2603.png");
    }

    void shownNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QCOMPARE(ShownName(name), shown);
    }

    void masks()
    {
        QFETCH(QString, mask);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(FileMask(mask).matches(name), matches);
    }

    void scanSortsFiltersAndMeasures()
    {
        TestDir dir;
        for (const char *name : {"b.JPG", "A.bmp", "c.txt", "a.gif", ".hidden.jpg", "Z.PNG"})
            dir.write(QLatin1String(name));
        QDir().mkpath(dir.filePath(QStringLiteral("folder.jpg")));
        const QFont font;
        const DirectoryScanResult result =
            ScanDirectory(dir.path(), QStringLiteral("*.BMP;*.GIF;*.JPG;*.PNG;"), font);
        QVERIFY(result.complete);
        QCOMPARE(result.names, QStringList({"A.bmp", "a.gif", "b.JPG", "Z.PNG"}));
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString &name : result.names)
            widest = std::max(widest, metrics.horizontalAdvance(name + u'X'));
        QCOMPARE(result.widest, widest);

        const std::atomic<bool> cancel{true};
        QVERIFY(!ScanDirectory(dir.path(), QString(), font, &cancel).complete);
        QVERIFY(
            ScanDirectory(dir.filePath(QStringLiteral("gone")), QString(), font).names.isEmpty());
    }

    void listFollowsDirectoryAndMask()
    {
        TestDir dir;
        for (const char *name : {"one.jpg", "two.WAV", "three.txt"})
            dir.write(QLatin1String(name));
        TFileListBox list;
        QSignalSpy changes(&list, &TFileListBox::Change);
        list.setMask(QStringLiteral("*.JPG;*.WAV;"));
        list.setDirectory(dir.path());
        waitForList(list);
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.itemText(0), QStringLiteral("one.jpg"));
        QVERIFY(changes.count() >= 1);
        QCOMPARE(list.FileName(), QString());

        list.setMask(QStringLiteral("*.WAV"));
        waitForList(list);
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.itemText(0), QStringLiteral("two.WAV"));

        // A folder that is not there leaves the list alone.
        list.setDirectory(dir.filePath(QStringLiteral("missing")));
        QCOMPARE(list.Directory(), dir.path());
    }

    void applyingAPathSelectsItsFile()
    {
        TestDir dir;
        TestDir other;
        dir.write(QStringLiteral("a.jpg"));
        dir.write(QStringLiteral("Photo.JPG"));
        TFileListBox list;
        list.setDirectory(other.path());
        list.setFileName(dir.filePath(QStringLiteral("photo.jpg"))); // other letter case
        waitForList(list);
        QCOMPARE(list.Directory(), dir.path());
        QCOMPARE(list.FileName(), dir.filePath(QStringLiteral("Photo.JPG")));
        list.setFileName(other.path());
        waitForList(list);
        QCOMPARE(list.Directory(), other.path());
        QCOMPARE(list.FileName(), QString());
    }

    void hugeFolderFillsWithoutLosingTheSelection()
    {
        TestDir dir;
        constexpr int Files = 20000;
        for (int i = 0; i < Files; ++i) {
            QFile file(dir.filePath(QStringLiteral("f%1.jpg").arg(i, 5, 10, QLatin1Char('0'))));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        TFileListBox list;
        list.resize(200, 300);
        QSignalSpy loaded(&list, &TFileListBox::Loaded);
        list.setFileName(dir.filePath(QStringLiteral("f15000.jpg")));
        waitForList(list);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(list.count(), Files);
        QCOMPARE(list.ItemIndex(), 15000);

        // Re-reading keeps index and first line; a vanished file leaves the list.
        list.setTopIndex(14990);
        const int top = list.TopIndex();
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("f19999.jpg"))));
        list.Update();
        waitForList(list);
        QCOMPARE(list.count(), Files - 1);
        QCOMPARE(list.ItemIndex(), 15000);
        QCOMPARE(list.TopIndex(), top);
        QVERIFY(list.removeName(QStringLiteral("F00000.JPG")));
        QCOMPARE(list.itemText(0), QStringLiteral("f00001.jpg"));
        QVERIFY(!list.removeName(QStringLiteral("nothing.jpg")));

        // Leaving while a reading runs is safe.
        auto *early = new TFileListBox;
        early->setDirectory(dir.path());
        delete early;
    }

    void userSelectionIsAClick()
    {
        TestDir dir;
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            dir.write(QLatin1String(name));
        TFileListBox list;
        list.resize(200, 200);
        list.setDirectory(dir.path());
        waitForList(list);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy clicks(&list, &TFileListBox::Click);
        QSignalSpy doubles(&list, &TFileListBox::DblClick);

        list.setItemIndex(0); // the program's own choice is no click
        QCOMPARE(clicks.count(), 0);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(list.ItemIndex(), 1);
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(clicks.count(), 2);

        const QPoint third = list.visualRect(list.model()->index(2, 0)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(list.ItemIndex(), 2);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(doubles.count(), 1);

        // A right press is left to the owner: the selection stays.
        const QPoint first = list.visualRect(list.model()->index(0, 0)).center();
        QSignalSpy presses(&list, &TFileListBox::MouseDown);
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, first);
        QCOMPARE(presses.count(), 1);
        QCOMPARE(list.ItemIndex(), 2);
        QCOMPARE(list.itemAtPos(first), 0);
        QCOMPARE(list.itemAtPos(QPoint(5, 190)), -1);

        // A receiver that ignores a key keeps it from the list.
        connect(&list, &TFileListBox::KeyDown, &list, [](QKeyEvent *event) { event->ignore(); });
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(list.ItemIndex(), 2);
    }

    void horizontalExtentScrollsSideways()
    {
        TestDir dir;
        for (int i = 0; i < 50; ++i)
            dir.write(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        TFileListBox list;
        list.resize(150, 200);
        list.setDirectory(dir.path());
        waitForList(list);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setHorizontalExtent(2000);
        QTRY_COMPARE(list.horizontalScrollBar()->maximum(), 2000 - list.viewport()->width());
        list.setHorizontalExtent(0);
        QTRY_COMPARE(list.horizontalScrollBar()->maximum(), 0);
    }

    void multipleSelection()
    {
        TestDir dir;
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            dir.write(QLatin1String(name));
        TFileListBox list;
        list.setMultiSelect(true);
        list.setDirectory(dir.path());
        waitForList(list);
        list.selectionModel()->select(list.model()->index(2, 0), QItemSelectionModel::Select);
        list.selectionModel()->select(list.model()->index(0, 0), QItemSelectionModel::Select);
        QCOMPARE(list.SelectedNames(), QStringList({"a.jpg", "c.jpg"}));
        list.setMultiSelect(false);
        QVERIFY(!list.MultiSelect());
    }

    void directoryListShowsAncestorsAndSubfolders()
    {
        TestDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("deep/Beta")));
        QDir().mkpath(dir.filePath(QStringLiteral("deep/alpha")));
        TDirectoryListBox list;
        QSignalSpy changed(&list, &TDirectoryListBox::DirectoryChanged);
        list.setDirectory(dir.filePath(QStringLiteral("deep")));
        QCOMPARE(changed.count(), 1);
        const int current = list.currentRow();
        QCOMPARE(list.pathAt(current), dir.filePath(QStringLiteral("deep")));
        QCOMPARE(list.pathAt(0), QDir::rootPath());
        QCOMPARE(list.count(), current + 3);
        QCOMPARE(list.item(current + 1)->text(), QStringLiteral("alpha"));
        QCOMPARE(list.item(current + 2)->text(), QStringLiteral("Beta"));
        list.setDirectory(dir.filePath(QStringLiteral("deep")));
        QCOMPARE(changed.count(), 1);

        list.setHorizontalExtent(900);
        QCOMPARE(list.horizontalExtent(), 900);
        QVERIFY(list.sizeHintForColumn(0) >= 900);
    }

    void deepFolderEntryStaysInView()
    {
        TestDir dir;
        QString deep = dir.path();
        for (int level = 0; level < 15; ++level)
            deep += QStringLiteral("/nested-folder-%1").arg(level, 5, 10, QLatin1Char('0'));
        QVERIFY(QDir().mkpath(deep));
        TDirectoryListBox list;
        list.resize(130, 120);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setDirectory(deep);
        list.setHorizontalExtent(list.WidestEntry(list.font()));
        // The current folder's entry starts this far right, by its depth.
        const int row = list.currentRow();
        const int start = row * list.folderPictureWidth() / 2;
        const int scrolled = list.horizontalScrollBar()->value();
        QVERIFY2(start >= scrolled
                     && start + list.folderPictureWidth() <= scrolled + list.viewport()->width(),
                 qPrintable(QStringLiteral("entry at %1, view %2..%3")
                                .arg(start)
                                .arg(scrolled)
                                .arg(scrolled + list.viewport()->width())));
        QVERIFY(list.visualItemRect(list.currentItem()).intersects(list.viewport()->rect()));
    }
};

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
