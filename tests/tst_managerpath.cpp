// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file manager as a user meets it, on a real X server with a window manager: opened
// with its key from the main window, files dragged from one pane to the other with the
// real pointer, and what both panes show while the questions and windows of a file
// operation are open.
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "common/TestMedia.h"
#include "common/XSession.h"
#include "files/MMManager.h"
#include "platform/Platform.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

// Drags with the real pointer, in steps as a hand does, from one place to another. The
// drag runs the toolkit's own event loop until the drop, so the pointer is driven from
// outside: tool runs on while the caller waits.
void dragForReal(QProcess &tool, QWidget *from, const QPoint &start, QWidget *to, const QPoint &end)
{
    const QPoint a = from->mapToGlobal(start);
    const QPoint b = to->mapToGlobal(end);
    MovePointerForReal(a);
    QStringList steps{QStringLiteral("mousedown"), QStringLiteral("1")};
    for (int step = 1; step <= 10; ++step) {
        const QPoint p = a + (b - a) * step / 10;
        steps << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove")
              << QString::number(p.x()) << QString::number(p.y());
    }
    steps << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
          << QStringLiteral("1");
    tool.start(QStringLiteral("xdotool"), steps);
}

QRect rowOf(TFileListBox *list, const QString &name)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->itemText(row) == name)
            return list->visualRect(list->model()->index(row, 0));
    }
    return {};
}

// Whether the screen shows the entry's text where the list has it: some dark pixels in
// the part of the row that no other window covers.
QString shownOnScreen(TFileListBox *list, const QString &name, const QRect &covered)
{
    QRect row = rowOf(list, name);
    if (row.isEmpty())
        return name + QStringLiteral(" is not in the list");
    row.setWidth(qMin(row.width(), list->fontMetrics().horizontalAdvance(name) + 8));
    const QRect global(list->viewport()->mapToGlobal(row.topLeft()), row.size());
    if (covered.contains(global))
        return {}; // nothing to see there
    const QImage shot = list->screen()
                            ->grabWindow(0, global.x(), global.y(), global.width(), global.height())
                            .toImage();
    // Text is what differs from the row's own background (plain or selected).
    const int background = qGray(shot.pixel(1, 1));
    int text = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QPoint at = global.topLeft() + QPoint(x, y);
            if (!covered.contains(at) && qAbs(qGray(shot.pixel(x, y)) - background) > 70)
                ++text;
        }
    }
    return text >= 12 ? QString() : name + QStringLiteral(" is not on the screen");
}

} // namespace

class TestManagerPath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
    }

    void init() { QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI"))); }

    void panesStayDrawnUnderQuestionsAndErrors_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("blocked");
        QTest::newRow("replace question, maximised") << true << false;
        QTest::newRow("replace question and error, default size") << false << true;
    }

    // A file dragged onto a pane that has one of that name: while the replace question
    // is up, and the error box when a folder of that name is in the way, both panes show
    // their entries.
    void panesStayDrawnUnderQuestionsAndErrors()
    {
        QFETCH(bool, maximised);
        QFETCH(bool, blocked);
        TestDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("from"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("to"))));
        for (const char *name : {"from/alpha.jpg", "from/beta.jpg"})
            writeJpeg(dir.filePath(QLatin1String(name)), QSize(3000, 2000));
        writeJpeg(dir.filePath(QStringLiteral("to/other.jpg")), QSize(640, 480));
        if (blocked)
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("to/alpha.jpg"))));
        else
            writeJpeg(dir.filePath(QStringLiteral("to/alpha.jpg")), QSize(3000, 2000));
        auto form = shownForm({dir.filePath(QStringLiteral("from/alpha.jpg"))});
        QVERIFY(PressKeysForReal(form.get(), {QStringLiteral("ctrl+m")}));
        QTRY_VERIFY(form->MMManager && form->MMManager->isVisible());
        TMMManager *manager = form->MMManager;
        if (maximised) {
            manager->showMaximized();
            QTRY_VERIFY(manager->isMaximized());
        }
        TFileListBox *source = manager->Pane1.FileListBox;
        TFileListBox *target = manager->Pane2.FileListBox;
        QCOMPARE(source->Directory(), dir.filePath(QStringLiteral("from")));
        manager->Pane2.DirectoryListBox->setDirectory(dir.filePath(QStringLiteral("to")));
        QTRY_COMPARE(target->count(), blocked ? 1 : 2);
        QVERIFY(ActivateForReal(manager));

        // Every box of the operation as it comes: what the panes show, then the answer.
        QStringList seen;
        QStringList wrong;
        QTimer watch;
        watch.setInterval(50);
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || seen.contains(box->windowTitle()))
                return;
            seen.append(box->windowTitle());
            QTest::qWait(500);
            const QRect covered = box->frameGeometry();
            for (const QString &name : {QStringLiteral("alpha.jpg"), QStringLiteral("beta.jpg")})
                wrong.append(shownOnScreen(source, name, covered));
            wrong.append(shownOnScreen(target, QStringLiteral("other.jpg"), covered));
            QAbstractButton *answer = box->button(QMessageBox::No);
            if (blocked)
                answer = box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)
                                                       : box->button(QMessageBox::Ok);
            ClickForReal(answer, answer->rect().center());
        });
        watch.start();
        const QRect alpha = rowOf(source, QStringLiteral("alpha.jpg"));
        ClickForReal(source->viewport(), alpha.center());
        QTRY_COMPARE(source->SelectedNames(), QStringList{QStringLiteral("alpha.jpg")});
        QProcess hand;
        dragForReal(hand, source->viewport(), alpha.center(), target->viewport(),
                    QPoint(target->viewport()->width() / 2, target->viewport()->height() - 10));
        const QStringList expected = blocked ? QStringList{QStringLiteral("Confirm File Replace"),
                                                           QStringLiteral("Error Moving File")}
                                             : QStringList{QStringLiteral("Confirm File Replace")};
        QTRY_COMPARE_WITH_TIMEOUT(seen, expected, 30000);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        wrong.removeAll(QString());
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
        // Nothing was lost: the source is where it was, the folder in the way too.
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("from/alpha.jpg"))));
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("to/alpha.jpg"))).isDir(), blocked);
        QCOMPARE(source->count(), 2);
    }
};

KORVID_XSESSION_MAIN(TestManagerPath)
#include "tst_managerpath.moc"
