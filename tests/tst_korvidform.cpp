// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's start-up, settings file, command line and layout skeleton.
#include <QApplication>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollArea>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <memory>

#include "app/Main.h"
#include "app/Splash.h"
#include "display/TMIMediaPlayer.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "platform/Platform.h"
#include "toolkit/IniFile.h"
#include "toolkit/PlatformColor.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

QString iniPath()
{
    return QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI"));
}

void writeIni(const QByteArray &text)
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readIni()
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestKorvidForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void init()
    {
        QFile::remove(iniPath());
        QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
            .removeRecursively();
        m_messages.clear();
        RecordMessages(m_messages);
    }

    void cleanup() { SetMessageDlgScript({}); }

    void firstStartUsesDefaultsAndSavesThemAll()
    {
        {
            auto form = shownForm();
            QCOMPARE(form->windowTitle(), QStringLiteral("Korvid"));
            QCOMPARE(form->pos(), QPoint(30, 40));
            QCOMPARE(form->size(), QSize(554, 380));
            QVERIFY(form->NoneSBtn->isChecked());
            QVERIFY(!form->InSBtn->isEnabled());
            QCOMPARE(form->ControlPanel1->width(), 168);
            QCOMPARE(form->DriveDirPanel1->height(), 124);
            // The tool panel sits below the display area.
            QVERIFY(form->ToolPanel->y() > form->MainSplitter->y());
            // Without a Pictures folder browsing starts at home.
            QCOMPARE(form->DirectoryListBox1->Directory(), HomeDir());
            QCOMPARE(form->SoundPicture, form->WallpaperName);
            QCOMPARE(form->SlideShowTimer->interval(), 3000);
            QVERIFY(!form->StoppedGlyph.isNull());
            QVERIFY(!form->RunningGlyph.isNull());
            QVERIFY(!form->SlideShowBtn->icon().isNull());
            form->close();
        }
        const IniFile ini(iniPath());
        const QStringList keys = {"AutoStart",
                                  "AutoRepeat",
                                  "BottomToolBar",
                                  "SingleClick",
                                  "ShowFileInfo",
                                  "HideControlPanel",
                                  "ConfirmDelete",
                                  "ConfirmCopy",
                                  "ConfirmReplace",
                                  "FullScreen",
                                  "ShowFileName",
                                  "ShowProgress",
                                  "PasswordProtect",
                                  "Options",
                                  "LastDirectory",
                                  "DDirPanelHeight",
                                  "CtrlPanelWidth",
                                  "ShowTime",
                                  "VideoScale",
                                  "WindowState",
                                  "StretchMode",
                                  "BackGround",
                                  "ListBackGround",
                                  "SoundDisplay",
                                  "SoundImage",
                                  "T",
                                  "L",
                                  "W",
                                  "H",
                                  "BMT",
                                  "BML",
                                  "BMW",
                                  "BMH"};
        for (const QString &key : keys)
            QVERIFY2(ini.hasKey(QStringLiteral("Korvid32"), key), qPrintable(key));
        const QByteArray text = readIni();
        QVERIFY(text.contains("BackGround=-2147483633\n"));
        QVERIFY(text.contains("T=40\nL=30\nW=554\nH=380\n"));
        QVERIFY(text.contains("LastDirectory=" + HomeDir().toUtf8() + "\n"));
        QVERIFY(m_messages.isEmpty());
    }

    void picturesFolderIsTheFirstFolder()
    {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QVERIFY(QDir().mkpath(pictures));
        auto form = shownForm();
        QCOMPARE(form->DirectoryListBox1->Directory(), QDir::cleanPath(pictures));
    }

    void storedValuesAreApplied()
    {
        TestDir dir;
        writeIni("[Other]\nkeep=me\n[Korvid32]\nBottomToolBar=0\nCtrlPanelWidth=200\n"
                 "DDirPanelHeight=150\nStretchMode=1\nShowTime=7\nSoundDisplay=2\n"
                 "SoundImage=/x/snd.png\nListBackGround=255\nT=12\nL=34\nW=640\nH=420\n"
                 "LastDirectory="
                 + dir.path().toUtf8() + "\nMyOwnKey=stays\n");
        {
            auto form = shownForm();
            QCOMPARE(form->pos(), QPoint(34, 12));
            QCOMPARE(form->size(), QSize(640, 420));
            QCOMPARE(form->ControlPanel1->width(), 200);
            QCOMPARE(form->DriveDirPanel1->height(), 150);
            QVERIFY(form->ToolPanel->y() < form->MainSplitter->y());
            QVERIFY(form->ProportionalSBtn->isChecked());
            QCOMPARE(form->SlideShowTimer->interval(), 7000);
            QCOMPARE(form->SoundPicture, QStringLiteral("/x/snd.png"));
            QCOMPARE(form->FileListBox1->palette().color(QPalette::Base), QColor(255, 0, 0));
            QCOMPARE(form->DirectoryListBox1->Directory(), dir.path());
            QCOMPARE(form->FileListBox1->Directory(), dir.path());
            form->close();
        }
        const IniFile ini(iniPath());
        QCOMPARE(ini.readString(QStringLiteral("Other"), QStringLiteral("keep"), {}),
                 QStringLiteral("me"));
        QCOMPARE(ini.readString(QStringLiteral("Korvid32"), QStringLiteral("MyOwnKey"), {}),
                 QStringLiteral("stays"));
        QCOMPARE(ini.readInteger(QStringLiteral("Korvid32"), QStringLiteral("CtrlPanelWidth"), 0),
                 200);
        QCOMPARE(ini.readInteger(QStringLiteral("Korvid32"), QStringLiteral("W"), 0), 640);
    }

    void vanishedLastDirectoryFallsBackToHome()
    {
        writeIni("[Korvid32]\nLastDirectory=/no/such/folder/anywhere\n");
        auto form = shownForm();
        QCOMPARE(form->DirectoryListBox1->Directory(), HomeDir());
    }

    void oddStoredValuesStaySafe()
    {
        writeIni("[Korvid32]\nL=40000\nT=-40000\nShowTime=0\n");
        {
            auto form = shownForm();
            QCOMPARE(form->pos(), QPoint(30, 40));
            QCOMPARE(form->SlideShowTimer->interval(), 1000);
            form->close();
        }
        writeIni("[Korvid32]\nShowTime=2147483647\n");
        auto form = shownForm();
        QVERIFY(form->SlideShowTimer->interval() > 0);
    }

    void closingMaximisedKeepsNormalBounds()
    {
        writeIni("[Korvid32]\nT=50\nL=60\nW=500\nH=400\nWindowState=0\n");
        {
            auto form = shownForm();
            form->showMaximized();
            QTRY_VERIFY(form->isMaximized());
            form->close();
        }
        const IniFile ini(iniPath());
        const QString s = QStringLiteral("Korvid32");
        QCOMPARE(ini.readInteger(s, QStringLiteral("WindowState"), -1), 2);
        QCOMPARE(ini.readInteger(s, QStringLiteral("T"), -1), 50);
        QCOMPARE(ini.readInteger(s, QStringLiteral("L"), -1), 60);
        QCOMPARE(ini.readInteger(s, QStringLiteral("W"), -1), 500);
        QCOMPARE(ini.readInteger(s, QStringLiteral("H"), -1), 400);

        // And the next start opens maximised again.
        auto again = shownForm();
        QVERIFY(again->isMaximized());
    }

    void backgroundAsHexAndAsDecimalIsOneColour()
    {
        QColor colours[2];
        const QByteArray texts[2] = {"0x8000000F", "-2147483633"};
        for (int i = 0; i < 2; ++i) {
            writeIni("[Korvid32]\nBackGround=" + texts[i] + "\n");
            auto form = shownForm();
            QCOMPARE(form->BackGround, ClBtnFace);
            colours[i] = form->ScrollBox1->viewport()->palette().color(QPalette::Window);
        }
        QCOMPARE(colours[0], colours[1]);
        QCOMPARE(colours[0], QApplication::palette().color(QPalette::Button));
    }

    void commandLineSelectsTheLeftmostFile()
    {
        TestDir dir;
        dir.write(QStringLiteral("a.bmp"));
        dir.write(QStringLiteral("b.bmp"));
        dir.write(QStringLiteral("c.bmp"));
        auto form = shownForm({QStringLiteral("/m"), dir.filePath(QStringLiteral("a.bmp")),
                               dir.filePath(QStringLiteral("b.bmp"))});
        QVERIFY(form->AutoStartShow);
        QCOMPARE(form->DirectoryListBox1->Directory(), dir.path());
        QTRY_COMPARE(form->FileListBox1->FileName(), dir.filePath(QStringLiteral("a.bmp")));

        auto second = shownForm({dir.filePath(QStringLiteral("b.bmp")), QStringLiteral("/x")});
        QVERIFY(!second->AutoStartShow);
        QTRY_COMPARE(second->FileListBox1->FileName(), dir.filePath(QStringLiteral("b.bmp")));
    }

    void commandLineFolderIsBrowsed()
    {
        TestDir dir;
        dir.write(QStringLiteral("a-sound.wav"));
        dir.write(QStringLiteral("one.png"));
        auto form = shownForm({dir.path()});
        QCOMPARE(form->FileListBox1->Directory(), dir.path());
        QTRY_COMPARE(form->FileListBox1->count(), 2);
        QTRY_COMPARE(form->CurrentFile, dir.filePath(QStringLiteral("one.png")));
        QCOMPARE(form->FileListBox1->FileName(), dir.filePath(QStringLiteral("one.png")));
        QCOMPARE(form->CurrentFile, dir.filePath(QStringLiteral("one.png")));
    }

    void activationRereadsKeepingPosition()
    {
        TestDir dir;
        for (int i = 0; i < 40; ++i)
            dir.write(QStringLiteral("f%1.png").arg(i, 2, 10, QLatin1Char('0')));
        auto form = shownForm({dir.filePath(QStringLiteral("f30.png"))});
        TFileListBox *list = form->FileListBox1;
        QTRY_VERIFY(!list->isLoading());
        list->setTopIndex(20);
        const int top = list->TopIndex();
        QCOMPARE(list->ItemIndex(), 30);
        dir.write(QStringLiteral("a-new.png"));
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("f39.png"))));
        QDir().mkpath(dir.filePath(QStringLiteral("newsub")));
        form->AppActivate();
        QTRY_VERIFY(!list->isLoading());
        QCOMPARE(list->count(), 40);
        QCOMPARE(list->itemText(0), QStringLiteral("a-new.png"));
        // The highlight stays on the file on show, not on the row it had.
        QCOMPARE(list->FileName(), form->CurrentFile);
        QCOMPARE(list->ItemIndex(), 31);
        QVERIFY(qAbs(list->TopIndex() - top) <= 1);
        QVERIFY(!form->DirectoryListBox1->findItems(QStringLiteral("newsub"), Qt::MatchExactly)
                     .isEmpty());
    }

    void droppedFilesShowTheFirst()
    {
        TestDir dir;
        const QString first = dir.write(QStringLiteral("first.jpg"));
        const QString second = dir.write(QStringLiteral("second.jpg"));
        auto form = shownForm();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
        QDragEnterEvent enter(QPoint(200, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(200, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        QCOMPARE(form->CurrentFile, first);

        QMimeData text;
        text.setText(QStringLiteral("not a file"));
        QDragEnterEvent refused(QPoint(200, 100), Qt::CopyAction, &text, Qt::LeftButton,
                                Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(form.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void unwritableSettingsAreReported()
    {
        // A folder in the file's place: the settings cannot be written.
        QVERIFY(QDir().mkpath(iniPath() + QStringLiteral("/blocker")));
        {
            auto form = shownForm();
            form->close();
        }
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().caption, QStringLiteral("Korvid MultiMedia Browser"));
        QVERIFY(m_messages.first().text.contains(QStringLiteral("KORVID.INI")));
        QVERIFY(QFileInfo(iniPath() + QStringLiteral("/blocker")).isDir());
        QDir(iniPath()).removeRecursively();
    }

    void layoutSkeleton()
    {
        auto form = shownForm();
        for (const char *name :
             {"ControlPanel1", "DriveDirPanel1", "TopPanel", "DriveComboBox1", "FilterComboBox1",
              "DirectoryListBox1", "VSlidePanel1", "FileListBox1", "HSlidePanel1", "ScrollBox1",
              "ToolPanel", "MIMediaPlayer1", "NoneSBtn", "ProportionalSBtn", "FullSBtn", "InSBtn",
              "OutSBtn", "SlideShowBtn", "Gauge1"})
            QVERIFY2(form->findChild<QWidget *>(QLatin1String(name)), name);
        QCOMPARE(form->minimumSize(), QSize(320, 240));
        QCOMPARE(form->TopPanel->height(), 47);
        QCOMPARE(form->SlideShowBtn->geometry(), QRect(263, 2, 48, 28));
        QCOMPARE(form->SlideShowBtn->toolTip(), QStringLiteral("VorodOdir Start/Stop"));
        // The player bar sits in its place, its buttons disabled until something plays.
        QCOMPARE(form->MIMediaPlayer1->geometry(), QRect(3, 3, 113, 25));
        for (const TMPBtnType b : {btPlay, btPause, btStop, btPrev})
            QVERIFY(!form->MIMediaPlayer1->button(b)->isEnabled());

        form->resize(421, 300);
        QTRY_COMPARE(form->ToolPanel->height(), 46);
        QCOMPARE(form->Gauge1->geometry(), QRect(6, 34, 421 - 12, 10));
        form->resize(422, 300);
        QTRY_COMPARE(form->ToolPanel->height(), 31);
        QCOMPARE(form->Gauge1->geometry(), QRect(320, 9, 422 - 6 - 320, 14));
    }

    void splashForm()
    {
        TSplashForm splash;
        splash.ShowNow();
        QCOMPARE(splash.size(), QSize(196, 189));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(splash.geometry().center(), screen.center());
    }

private:
    QList<MessageDlgCall> m_messages;
};

QTEST_MAIN(TestKorvidForm)
#include "tst_korvidform.moc"
