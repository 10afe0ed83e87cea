// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation panel as a user meets it, on a real X server with a window manager: the
// focus at start, deep folders, the list after other programs changed the disk, and file
// names the lists must still show and open.
#include <algorithm>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/XSession.h"
#include "platform/Platform.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

QString copyFixture(const QString &fixture, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::copy(TestDataDir() + u'/' + fixture, to))
        qFatal("cannot copy %s to %s", qPrintable(fixture), qPrintable(to));
    return to;
}

// Small real JPEGs of these names in dir.
void writePictures(const TestDir &dir, const QStringList &names)
{
    for (const QString &name : names)
        copyFixture(QStringLiteral("scene-64x48.jpg"), dir.filePath(name));
}

QString selectedName(const TFileListBox *list)
{
    const int row = list->ItemIndex();
    return row < 0 ? QString() : list->itemText(row);
}

QStringList listed(const TFileListBox *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->itemText(row));
    return names;
}

// Clicks the entry of this name in the file list with the mouse.
bool clickEntry(TFileListBox *list, const QString &name)
{
    const int row = int(listed(list).indexOf(name));
    if (row < 0)
        return false;
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    return true;
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

} // namespace

class TestNavPath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
    }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup() { SetMessageDlgScript({}); }

    void focusAtStart_data()
    {
        QTest::addColumn<bool>("pictures");
        QTest::newRow("folder of pictures") << true;
        QTest::newRow("folder that shows no file") << false;
    }

    // Started on a folder of pictures the arrow keys step through them at once; on a
    // folder that shows no file they walk the folders.
    void focusAtStart()
    {
        QFETCH(bool, pictures);
        TestDir dir;
        if (pictures)
            writePictures(dir, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("one"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("two"))));
        auto form = shownForm({dir.path()});
        QCOMPARE(form->CurrentFileName, pictures ? QStringLiteral("a.jpg") : QString());
        QVERIFY(ActivateForReal(form.get()));
        QWidget *expected = pictures ? static_cast<QWidget *>(form->FileListBox1)
                                     : static_cast<QWidget *>(form->DirectoryListBox1);
        QTRY_COMPARE(QApplication::focusWidget(), expected);

        const int row = form->DirectoryListBox1->currentRow();
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("Down")}));
        if (pictures) {
            QTRY_COMPARE(form->CurrentFileName, QStringLiteral("b.jpg"));
        } else {
            QTRY_COMPARE(form->DirectoryListBox1->currentRow(), row + 1);
            QCOMPARE(form->DirectoryListBox1->pathAt(row + 1), dir.filePath(QStringLiteral("one")));
        }
    }

    void deepFolderStaysInSight_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("command line") << false;
        QTest::newRow("Enter in the directory list") << true;
    }

    // The current folder's entry, indented by its depth, is scrolled into sight.
    void deepFolderStaysInSight()
    {
        QFETCH(bool, byEnter);
        TestDir dir;
        QString deep = dir.path();
        for (int level = 0; level < 15; ++level)
            deep += QStringLiteral("/level-%1-abcdefghijk").arg(level, 2, 10, QLatin1Char('0'));
        QVERIFY(QDir().mkpath(deep));

        auto form = shownForm({byEnter ? QFileInfo(deep).absolutePath() : deep});
        TDirectoryListBox *list = form->DirectoryListBox1;
        if (byEnter) {
            const int child = list->count() - 1;
            QCOMPARE(list->pathAt(child), deep);
            list->setCurrentRow(child);
            list->setFocus();
            QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("Return")}));
            QTRY_COMPARE(list->Directory(), deep);
        }
        QCOMPARE(list->Directory(), deep);
        QCOMPARE(list->pathAt(list->currentRow()), deep);

        // The entries of the folder chain stand one level apart from the root's.
        const int level = list->currentRow();
        const int picture = list->folderPictureWidth();
        QTRY_VERIFY(list->visualRect(list->currentIndex()).isValid());
        const int textStart =
            list->visualRect(list->currentIndex()).left() + level * picture / 2 + picture;
        const int viewWidth = list->viewport()->width();
        QVERIFY2(textStart >= 0 && textStart < viewWidth,
                 qPrintable(QStringLiteral("entry text starts at %1 of a %2-pixel list scrolled "
                                           "%3 sideways (of %4)")
                                .arg(textStart)
                                .arg(viewWidth)
                                .arg(list->horizontalScrollBar()->value())
                                .arg(list->horizontalScrollBar()->maximum())));
    }

    // Another program adds files that sort before the shown one; coming back to the
    // program re-reads the list and the highlight stays on the shown file.
    void highlightFollowsShownFileAfterReread()
    {
        TestDir dir;
        writePictures(dir,
                      {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                       QStringLiteral("d.jpg"), QStringLiteral("e.jpg")});
        auto form = shownForm({dir.filePath(QStringLiteral("c.jpg"))});
        QCOMPARE(form->CurrentFileName, QStringLiteral("c.jpg"));
        QCOMPARE(selectedName(form->FileListBox1), QStringLiteral("c.jpg"));
        QVERIFY(ActivateForReal(form.get()));

        for (int i = 1; i <= 10; ++i)
            writePictures(dir, {QStringLiteral("b-%1.jpg").arg(i, 2, 10, QLatin1Char('0'))});
        QVERIFY(SwitchAwayAndBack(form.get()));
        QTRY_COMPARE(form->FileListBox1->count(), 15);
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        QCOMPARE(selectedName(form->FileListBox1), QStringLiteral("c.jpg"));
        QCOMPARE(form->FileListBox1->FileName(), form->CurrentFile);
    }

    // A listed file that another program deleted is refused and leaves the list; the
    // highlight goes back to the file still shown.
    void highlightFollowsShownFileAfterRefusal()
    {
        TestDir dir;
        writePictures(dir,
                      {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                       QStringLiteral("d.jpg"), QStringLiteral("e.jpg")});
        auto form = shownForm({dir.filePath(QStringLiteral("c.jpg"))});
        QCOMPARE(form->CurrentFileName, QStringLiteral("c.jpg"));
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("d.jpg"))));

        QVERIFY(clickEntry(form->FileListBox1, QStringLiteral("d.jpg")));
        QTRY_COMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.at(0).text, QStringLiteral("Invalid file type or name!"));
        QVERIFY(!listed(form->FileListBox1).contains(QStringLiteral("d.jpg")));
        QCOMPARE(form->CurrentFileName, QStringLiteral("c.jpg"));
        QCOMPARE(selectedName(form->FileListBox1), QStringLiteral("c.jpg"));
    }

    // The shown folder is removed by another program: coming back to the program moves
    // both lists to the nearest folder that is still there and says so once.
    void vanishedFolderMovesToItsParent()
    {
        TestDir dir;
        const QString parent = dir.filePath(QStringLiteral("parent"));
        const QString gone = parent + QStringLiteral("/gone/deeper");
        copyFixture(QStringLiteral("scene-64x48.jpg"), gone + QStringLiteral("/picture.jpg"));
        auto form = shownForm({gone + QStringLiteral("/picture.jpg")});
        QCOMPARE(form->DirectoryListBox1->Directory(), gone);
        QVERIFY(ActivateForReal(form.get()));

        QVERIFY(QDir(parent + QStringLiteral("/gone")).removeRecursively());
        QVERIFY(SwitchAwayAndBack(form.get()));
        QTRY_COMPARE(form->DirectoryListBox1->Directory(), parent);
        QTRY_COMPARE(form->FileListBox1->Directory(), parent);
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.at(0).text.contains(QDir::toNativeSeparators(gone)),
                 qPrintable(m_messages.at(0).text));
    }

    // .jpeg, .jpe and .tiff in any case are pictures, listed under every filter that takes
    // JPEG or TIFF, and shown when opened.
    void longPictureSuffixesListed()
    {
        TestDir dir;
        const QStringList jpegs = {QStringLiteral("a.jpeg"), QStringLiteral("b.JPE"),
                                   QStringLiteral("c.Jpeg")};
        const QStringList tiffs = {QStringLiteral("d.tiff"), QStringLiteral("e.TIFF")};
        for (const QString &name : jpegs)
            copyFixture(QStringLiteral("scene-64x48.jpg"), dir.filePath(name));
        for (const QString &name : tiffs)
            copyFixture(QStringLiteral("scene-64x48.tif"), dir.filePath(name));

        auto form = shownForm({dir.path()});
        const struct
        {
            QString filter;
            QStringList names;
        } filters[] = {{QStringLiteral("All MultiMedia Files"), jpegs + tiffs},
                       {QStringLiteral("Images Only"), jpegs + tiffs},
                       {QStringLiteral("JPG"), jpegs},
                       {QStringLiteral("TIF"), tiffs}};
        QStringList wrong;
        for (const auto &filter : filters) {
            const int index = form->FilterComboBox1->findText(filter.filter);
            QVERIFY2(index >= 0, qPrintable(filter.filter));
            form->FilterComboBox1->setCurrentIndex(index);
            QTRY_VERIFY(!form->FileListBox1->isLoading());
            if (listed(form->FileListBox1) != filter.names)
                wrong.append(QStringLiteral("%1 lists [%2]")
                                 .arg(filter.filter, listed(form->FileListBox1).join(u',')));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    void longPictureSuffixOpensFromCommandLine()
    {
        TestDir dir;
        copyFixture(QStringLiteral("scene-64x48.jpg"), dir.filePath(QStringLiteral("a.jpeg")));
        auto opened = shownForm({dir.filePath(QStringLiteral("a.jpeg"))});
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.value(0).text));
        QVERIFY(opened->HasPicture);
        QVERIFY2(opened->windowTitle().contains(QStringLiteral("Pixels")),
                 qPrintable(opened->windowTitle()));
    }

    void controlCharactersShownAsMarks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mark");
        QTest::newRow("newline") << QStringLiteral("line\nbreak.jpg")
                                 << QStringLiteral("line\\nbreak");
        QTest::newRow("tab") << QStringLiteral("tab\there.jpg") << QStringLiteral("tab\\there");
        QTest::newRow("delete") << QStringLiteral("del\x7f.jpg") << QStringLiteral("del\\x7F");
    }

    // A control character in a file name is written as its escape in the caption and the
    // list; clicking the entry still opens the real file.
    void controlCharactersShownAsMarks()
    {
        QFETCH(QString, name);
        QFETCH(QString, mark);
        TestDir dir;
        writePictures(dir, {QStringLiteral("a-plain.jpg"), name});
        auto form = shownForm({dir.filePath(QStringLiteral("a-plain.jpg"))});
        QVERIFY(clickEntry(form->FileListBox1, name));
        QTRY_COMPARE(form->CurrentFile, dir.filePath(name));
        QVERIFY(form->HasPicture);

        const QString caption = form->windowTitle();
        const int row = form->FileListBox1->ItemIndex();
        const QString item =
            form->FileListBox1->model()->index(row, 0).data(Qt::DisplayRole).toString();
        QStringList wrong;
        if (hasControlCharacter(caption) || !caption.contains(mark))
            wrong.append(QStringLiteral("caption %1")
                             .arg(QString::fromLatin1(caption.toUtf8().toPercentEncoding(" "))));
        if (hasControlCharacter(item) || !item.contains(mark))
            wrong.append(QStringLiteral("list item %1")
                             .arg(QString::fromLatin1(item.toUtf8().toPercentEncoding(" "))));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

private:
    QList<MessageDlgCall> m_messages;
};

KORVID_XSESSION_MAIN(TestNavPath)
#include "tst_navpath.moc"
