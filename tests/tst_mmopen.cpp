// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The multimedia open dialog: its settings, the live preview, stopping a slow picture,
// and the main window's Open command.
#include <QCheckBox>
#include <QDataStream>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <random>

#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "display/TMIMediaPlayer.h"
#include "display/TMultiMP.h"
#include "display/codec/Codec.h"
#include "files/MMOpen.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

// Selects the entry of this name as the user would.
void choose(TMultiOpenMM &dialog, const QString &name)
{
    QTRY_VERIFY(!dialog.FileListBox1->isLoading());
    for (int row = 0; row < dialog.FileListBox1->count(); ++row) {
        if (dialog.FileListBox1->itemText(row) == name) {
            dialog.FileListBox1->setItemIndex(row);
            dialog.FileListBox1Change();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no entry ") + name));
}

// A JPEG of noise, slow enough to decode that a load can be stopped midway.
QString writeNoiseJpeg(TestDir &dir, const QString &name)
{
    QImage image(3000, 2000, QImage::Format_RGB32);
    std::mt19937 random(3);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random() | 0xFF000000u;
    }
    const QString path = dir.filePath(name);
    if (!image.save(path, "JPG", 95))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A plain tone of seconds length as a 16-bit mono WAV file.
void writeTone(const QString &path, int seconds)
{
    constexpr int Rate = 8000;
    const int samples = Rate * seconds;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(Rate) << quint32(Rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (int i = 0; i < samples; ++i)
        out << qint16((i % 20) < 10 ? 3000 : -3000);
    TestDir::writeFile(path, data);
}

} // namespace

class TestMMOpen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }
    void init()
    {
        m_messages.clear();
        RecordMessages(m_messages);
    }
    void cleanup() { SetMessageDlgScript({}); }

    void executeAppliesPropertiesAndKeepsTheName()
    {
        TestDir dir;
        writePicture(dir, QStringLiteral("a.png"));
        writePicture(dir, QStringLiteral("b.png"));
        dir.write(QStringLiteral("notes.txt"));
        QWidget owner;
        TMMOpenDialog open(&owner);
        QCOMPARE(open.Title, QStringLiteral("Open File"));
        QCOMPARE(open.Filter, MediaOpenFilter());
        QVERIFY(open.AllowAutoPlay && open.AutoDisPlay && !open.AutoPlay);

        open.InitialDir = dir.path();
        open.Title = QStringLiteral("Pick one");
        open.AllowAutoPlay = false;
        open.AutoPlay = true;
        const TProgressCallback before = [](int) { return 7; };
        ProgressCallback = before;
        bool seen = false;
        connect(&open, &TMMOpenDialog::DialogCreated, this, [&](TMultiOpenMM *dialog) {
            whenShown(dialog, [&, dialog] {
                seen = true;
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Pick one"));
                QCOMPARE(dialog->FilterComboBox1->currentText(), QStringLiteral("All Media"));
                QCOMPARE(dialog->DirectoryListBox1->Directory(), dir.path());
                QCOMPARE(dialog->Label1->text(), QDir::toNativeSeparators(dir.path()));
                // The list shows media only.
                QTRY_COMPARE(dialog->FileListBox1->count(), 2);
                // Hidden, but its state applies.
                QVERIFY(dialog->CheckBox2->isHidden());
                QVERIFY(dialog->CheckBox2->isChecked());
                QVERIFY(dialog->Preview->AutoPlayMultiMedia());
                // The dialog's progress routine is in place while it exists.
                QVERIFY(ProgressCallback(100) == 1);
                choose(*dialog, QStringLiteral("b.png"));
                QVERIFY(!dialog->Preview->Picture().isEmpty());
                QVERIFY(dialog->FileListBox1->isEnabled());
                QVERIFY(!dialog->BitBtn1->isEnabled());
                QCOMPARE(dialog->Gauge1->value(), 100);
                dialog->CancelBtn->click();
            });
        });
        QVERIFY(!open.Execute());
        QVERIFY(seen);
        QCOMPARE(open.FileName, dir.filePath(QStringLiteral("b.png")));
        QVERIFY(!open.Dialog());
        // The earlier routine is back.
        QCOMPARE(ProgressCallback(1), 7);
        ProgressCallback = nullptr;
    }

    void progressRulesAndStop()
    {
        TestDir dir;
        writeNoiseJpeg(dir, QStringLiteral("noise.jpg"));
        TMultiOpenMM dialog;
        dialog.DirectoryListBox1->setDirectory(dir.path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        // Below 99 the list waits and Stop is offered; at exactly 99 neither; above, the
        // list again.
        QCOMPARE(dialog.PreviewProgress(50), 1);
        QVERIFY(!dialog.FileListBox1->isEnabled());
        QVERIFY(dialog.BitBtn1->isEnabled());
        QCOMPARE(dialog.Gauge1->value(), 50);
        QCOMPARE(dialog.PreviewProgress(99), 1);
        QVERIFY(!dialog.FileListBox1->isEnabled());
        QVERIFY(!dialog.BitBtn1->isEnabled());
        QCOMPARE(dialog.PreviewProgress(100), 1);
        QVERIFY(dialog.FileListBox1->isEnabled());
        QVERIFY(!dialog.BitBtn1->isEnabled());

        // Stop pressed while the picture decodes: the load ends, the list is back, and
        // nothing is reported as failed.
        bool pressed = false;
        QTimer press;
        press.setInterval(0);
        connect(&press, &QTimer::timeout, &dialog, [&] {
            // Once the load has taken the list away, Stop is there to press.
            if (dialog.FileListBox1->isEnabled())
                return;
            pressed = dialog.BitBtn1->isEnabled();
            dialog.BitBtn1->click();
            press.stop();
        });
        press.start();
        choose(dialog, QStringLiteral("noise.jpg"));
        press.stop();
        QVERIFY(pressed);
        QVERIFY(dialog.Preview->Picture().isEmpty());
        QVERIFY(dialog.FileListBox1->isEnabled());
        QVERIFY(!dialog.BitBtn1->isEnabled());
        QVERIFY(!dialog.StopFlag);
        QVERIFY(m_messages.isEmpty());

        // Without a stop the same picture loads whole.
        choose(dialog, QStringLiteral("noise.jpg"));
        QCOMPARE(dialog.Preview->PictureSize().width(), 3000);
    }

    void messagesMoveAndAutoDisplay()
    {
        TestDir dir;
        dir.write(QStringLiteral("hello.scm"), "/sp|5/sm|Hello/eo|");
        TMultiOpenMM dialog;
        dialog.DirectoryListBox1->setDirectory(dir.path());
        dialog.show();
        choose(dialog, QStringLiteral("hello.scm"));
        TPMultiMedia *preview = dialog.Preview;
        QVERIFY(preview->Marquee);
        QVERIFY(dialog.FileListBox1->isEnabled());
        QVERIFY(!dialog.BitBtn1->isEnabled());
        // The dialog's timer sets the speed to one step a tick.
        const int start = preview->ScrollX;
        QTRY_VERIFY(preview->ScrollX < start - 3);
        QCOMPARE(preview->MessageSpeed, 0);

        // "Auto Display" off: the preview is cleared.
        dialog.CheckBox1->click();
        QVERIFY(!preview->Marquee);
        QVERIFY(preview->Picture().isEmpty());
        dialog.CheckBox1->click();
        QVERIFY(preview->Marquee);
    }

    void soundsPlayWithAutoPlay()
    {
        if (!MciExtensionKnown(QStringLiteral("WAV")))
            QSKIP("the media engine cannot play WAV here");
        TestDir dir;
        writeTone(dir.filePath(QStringLiteral("tone.wav")), 2);
        writePicture(dir, QStringLiteral("still.png"));
        TMultiOpenMM dialog;
        dialog.DirectoryListBox1->setDirectory(dir.path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.CheckBox2->click();
        QVERIFY(dialog.Preview->AutoPlayMultiMedia());
        choose(dialog, QStringLiteral("tone.wav"));
        QVERIFY(dialog.Player->isVisible());
        QTRY_COMPARE(dialog.Player->Mode(), mpPlaying);
        // While it plays below 100 % the list waits; Stop gives it back.
        QTRY_VERIFY(!dialog.FileListBox1->isEnabled());
        QVERIFY(dialog.BitBtn1->isEnabled());
        dialog.BitBtn1->click();
        QVERIFY(dialog.FileListBox1->isEnabled());
        // Once the sound has ended the list stays usable.
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Player->Mode() != mpPlaying, 8000);
        QVERIFY(dialog.FileListBox1->isEnabled());
        QVERIFY(!dialog.BitBtn1->isEnabled());
        // Back to a picture: the player hides again.
        choose(dialog, QStringLiteral("still.png"));
        QVERIFY(!dialog.Player->isVisible());
        QVERIFY(!dialog.Preview->Picture().isEmpty());
    }

    void mainWindowOpensTheChosenFile()
    {
        TestDir dir;
        writePicture(dir, QStringLiteral("first.png"));
        const QString chosen = writePicture(dir, QStringLiteral("second.png"), QSize(20, 10));
        auto form = shownForm({dir.filePath(QStringLiteral("first.png"))});
        connect(form->MMOpenDialog1, &TMMOpenDialog::DialogCreated, this,
                [&](TMultiOpenMM *dialog) {
                    whenShown(dialog, [&, dialog] {
                        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open File"));
                        QCOMPARE(dialog->DirectoryListBox1->Directory(), dir.path());
                        QCOMPARE(dialog->FilterComboBox1->count(), 14);
                        choose(*dialog, QStringLiteral("second.png"));
                        dialog->OKBtn->click();
                    });
                });
        form->Open1Click();
        QCOMPARE(form->CurrentFile, chosen);
        QCOMPARE(form->Image1->Picture().width(), 20);
    }

private:
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestMMOpen)
#include "tst_mmopen.moc"
