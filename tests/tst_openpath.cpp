// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The open dialog as a user meets it, on a real X server with a window manager: opened
// with the keys from the main window while that window plays a video, files previewed by
// clicks and arrow keys, folders opened with Enter, videos drawn in the preview.
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <functional>

#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/TestMedia.h"
#include "common/WidgetTestHelpers.h"
#include "common/XSession.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "files/MMOpen.h"
#include "platform/Platform.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

// Counts the changes the main window's playback must never cause in the dialog.
class DialogWatch : public QObject
{
public:
    explicit DialogWatch(TMultiOpenMM *dialog)
    {
        dialog->FileListBox1->installEventFilter(this);
        dialog->BitBtn1->installEventFilter(this);
        connect(dialog->Gauge1, &QProgressBar::valueChanged, this,
                [this](int value) { changes.append(QStringLiteral("gauge %1").arg(value)); });
    }

    QStringList changes;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            const auto *widget = static_cast<QWidget *>(watched);
            changes.append(QStringLiteral("%1 %2").arg(
                widget->objectName(),
                widget->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")));
        }
        return false;
    }
};

QPoint rowCentre(TFileListBox *list, const QString &name)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->itemText(row) == name)
            return list->visualRect(list->model()->index(row, 0)).center();
    }
    return {-1, -1};
}

// What the screen shows where the preview is: what the user sees, not what the control
// would paint if asked.
QImage previewOnScreen(TMultiOpenMM *dialog)
{
    TPMultiMedia *preview = dialog->Preview;
    const QPoint origin = preview->mapToGlobal(QPoint(0, 0));
    return preview->screen()
        ->grabWindow(0, origin.x(), origin.y(), preview->width(), preview->height())
        .toImage();
}

int coloursIn(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y) & 0xF0F0F0u);
    }
    return int(colours.size());
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

QString focusName()
{
    return focused() ? focused()->objectName() : QStringLiteral("nothing");
}

} // namespace

class TestOpenPath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
        if (QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0")).isEmpty())
            QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is needed to make the videos");
        writeJpeg(m_dir.filePath(QStringLiteral("a-mid.jpg")), QSize(3000, 2000));
        writeJpeg(m_dir.filePath(QStringLiteral("b-big.jpg")), QSize(6000, 4000));
        QVERIFY(writeVideo(m_dir.filePath(QStringLiteral("c-ball.avi")),
                           QStringLiteral("avenc_mpeg4"), QStringLiteral("avimux"), 250,
                           QStringLiteral("ball")));
        QVERIFY(QFile::copy(TestDataDir() + QStringLiteral("/chime.wav"),
                            m_dir.filePath(QStringLiteral("d-chime.wav"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("e-sub"))));
        writeJpeg(m_dir.filePath(QStringLiteral("e-sub/inside.jpg")), QSize(3000, 2000));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("g-msg"))));
        writeJpeg(m_dir.filePath(QStringLiteral("g-msg/a-picture.jpg")), QSize(3000, 2000));
        TestDir::writeFile(m_dir.filePath(QStringLiteral("g-msg/hello.scm")),
                           "/fn|SYSTEM/fh|-24/sm|Hello there/eo|");
        // The main window's own video: short, so it loops many times meanwhile.
        QVERIFY(writeVideo(m_dir.filePath(QStringLiteral("looping.avi")),
                           QStringLiteral("avenc_mpeg4"), QStringLiteral("avimux"), 50));
    }

    void init()
    {
        QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")));
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup()
    {
        SetMessageDlgScript({});
        QVERIFY2(m_messages.isEmpty(),
                 qPrintable(QStringLiteral("unexpected message: ") + m_messages.value(0).text));
    }

    void previewBesideTheMainWindowsVideo_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("default size") << false;
        QTest::newRow("maximised") << true;
    }

    // With a video looping in the main window, File > Open previews pictures with a click
    // and the arrow keys, a video with its frames and a sound, and the main window's
    // playback never reaches the dialog's list, gauge or Stop button.
    void previewBesideTheMainWindowsVideo()
    {
        QFETCH(bool, maximised);
        auto form = shownForm({m_dir.filePath(QStringLiteral("looping.avi"))});
        if (maximised) {
            form->showMaximized();
            QTRY_VERIFY(form->isMaximized());
        }
        TMIMediaPlayer *mainPlayer = form->MIMediaPlayer1;
        QTRY_VERIFY_WITH_TIMEOUT(mainPlayer->Mode() == mpPlaying, 15000);

        QVERIFY(inOpenDialog(form.get(),
                             [&](TMultiOpenMM *dialog) { previewInDialog(form.get(), dialog); }));
        // The main window's video goes on looping.
        QTRY_VERIFY_WITH_TIMEOUT(mainPlayer->Mode() == mpPlaying, 5000);
    }

    // Enter on a folder of the tree opens it, and the dialog stays open.
    void enterOnTheTreeOpensTheFolder()
    {
        auto form = shownForm({m_dir.filePath(QStringLiteral("a-mid.jpg"))});
        QVERIFY(inOpenDialog(form.get(), [&](TMultiOpenMM *dialog) {
            TDirectoryListBox *tree = dialog->DirectoryListBox1;
            int sub = -1;
            for (int row = 0; row < tree->count(); ++row) {
                if (tree->pathAt(row) == m_dir.filePath(QStringLiteral("e-sub")))
                    sub = row;
            }
            QVERIFY(sub >= 0);
            ClickForReal(tree->viewport(), tree->visualItemRect(tree->item(sub)).center());
            QTRY_COMPARE(focused(), tree);
            QTRY_COMPARE(tree->currentRow(), sub);
            XDoTool({QStringLiteral("key"), QStringLiteral("Return")});
            QTRY_COMPARE(tree->Directory(), m_dir.filePath(QStringLiteral("e-sub")));
            QTRY_COMPARE(dialog->FileListBox1->count(), 1);
            QTest::qWait(200);
            QVERIFY2(dialog->isVisible(), "Enter on the folder closed the dialog");
            QCOMPARE(dialog->result(), 0);
        }));
        QCOMPARE(form->CurrentFile, m_dir.filePath(QStringLiteral("a-mid.jpg")));
    }

    // A message in the font "SYSTEM" (what message files name by default) moves through
    // the preview in the desktop's own user-interface font, not in a fallback.
    void messageInTheDesktopFont()
    {
        auto form = shownForm({m_dir.filePath(QStringLiteral("g-msg/a-picture.jpg"))});
        QVERIFY(inOpenDialog(form.get(), [&](TMultiOpenMM *dialog) {
            TFileListBox *list = dialog->FileListBox1;
            QTRY_VERIFY(!list->isLoading());
            ClickForReal(list->viewport(), rowCentre(list, QStringLiteral("hello.scm")));
            QTRY_VERIFY(dialog->Preview->Marquee);
            const QFontInfo shown(dialog->Preview->MessageFont.toFont());
            const QFontInfo desktop(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
            QCOMPARE(shown.family(), desktop.family());
        }));
    }

private:
    // Opens File > Open with the real keys, runs body on the dialog once it has the
    // keyboard, then cancels it; false when that did not happen in time.
    bool inOpenDialog(TKorvidForm *form, const std::function<void(TMultiOpenMM *)> &body)
    {
        bool done = false;
        const auto created = connect(form->MMOpenDialog1, &TMMOpenDialog::DialogCreated, this,
                                     [&](TMultiOpenMM *dialog) {
                                         whenShown(dialog, [&, dialog] {
                                             QVERIFY(ActivateForReal(dialog));
                                             body(dialog);
                                             dialog->CancelBtn->click();
                                             done = true;
                                         });
                                     });
        const bool pressed = PressKeysForReal(form, {QStringLiteral("alt+f"), QStringLiteral("o")});
        const bool shown = pressed && QTest::qWaitFor([&done] { return done; }, 90000);
        disconnect(created);
        return shown;
    }

    void previewInDialog(TKorvidForm *form, TMultiOpenMM *dialog)
    {
        TFileListBox *list = dialog->FileListBox1;
        QTRY_VERIFY(!list->isLoading());
        QCOMPARE(list->count(), 5);

        // Every entry has its type's picture from the icon theme.
        const QAbstractItemModel *model = list->model();
        for (int row = 0; row < list->count(); ++row) {
            const auto icon = model->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
            QVERIFY2(!icon.isNull(), qPrintable(list->itemText(row) + " has no glyph"));
        }

        // A whole loop and more of the main window's video: it reports its progress to its
        // own gauge, and nothing of it reaches the dialog.
        DialogWatch watch(dialog);
        int mainReports = 0;
        const TProgressCallback dialogs = ProgressCallback;
        ProgressCallback = [&](int percent) {
            mainReports += ProgressReporter() == form->Image1 ? 1 : 0;
            return dialogs(percent);
        };
        QTRY_VERIFY_WITH_TIMEOUT(mainReports >= 8, 15000);
        ProgressCallback = dialogs;
        QVERIFY2(watch.changes.isEmpty(), qPrintable(watch.changes.join(QStringLiteral(", "))));
        QVERIFY(list->isEnabled());
        QVERIFY(!dialog->BitBtn1->isEnabled());
        QCOMPARE(dialog->Gauge1->value(), 0);

        // A click on a picture previews it; the keyboard stays in the list.
        ClickForReal(list->viewport(), rowCentre(list, QStringLiteral("a-mid.jpg")));
        QTRY_COMPARE_WITH_TIMEOUT(dialog->Preview->PictureSize().width(), 3000, 20000);
        QTRY_VERIFY(list->isEnabled());
        QVERIFY2(focused() == list,
                 qPrintable("after the click the keyboard is in " + focusName()));

        // Down previews the next picture, and again the keyboard stays.
        XDoTool({QStringLiteral("key"), QStringLiteral("Down")});
        QTRY_COMPARE_WITH_TIMEOUT(dialog->Preview->PictureSize().width(), 6000, 20000);
        QTRY_VERIFY(list->isEnabled());
        QVERIFY2(focused() == list, qPrintable("after Down the keyboard is in " + focusName()));
        QCOMPARE(dialog->DirectoryListBox1->Directory(), m_dir.path());

        // The video plays in the preview with moving frames, scaled into it.
        ClickForReal(dialog->CheckBox2, dialog->CheckBox2->rect().center());
        QTRY_VERIFY(dialog->CheckBox2->isChecked());
        ClickForReal(list->viewport(), rowCentre(list, QStringLiteral("c-ball.avi")));
        QTRY_VERIFY_WITH_TIMEOUT(dialog->Player->Mode() == mpPlaying, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->Player->currentFrame().isValid(), 15000);
        const QImage first = previewOnScreen(dialog);
        QVERIFY2(coloursIn(first) >= 3, "the preview shows no video frame");
        QTRY_VERIFY_WITH_TIMEOUT(previewOnScreen(dialog) != first, 5000);
        ClickForReal(dialog->BitBtn1, dialog->BitBtn1->rect().center());
        QTRY_VERIFY(list->isEnabled());

        // The sound plays with the preview's own progress in the gauge.
        ClickForReal(list->viewport(), rowCentre(list, QStringLiteral("d-chime.wav")));
        QTRY_VERIFY_WITH_TIMEOUT(
            dialog->Player->Mode() == mpPlaying || dialog->Gauge1->value() >= 99, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(list->isEnabled(), 15000);
        QVERIFY(dialog->FileListBox1->isEnabled());
    }

    TestDir m_dir;
    QList<MessageDlgCall> m_messages;
};

KORVID_XSESSION_MAIN(TestOpenPath)
#include "tst_openpath.moc"
