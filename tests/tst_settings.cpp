// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings table and the command line, without any window.
#include <QTest>

#include "app/CmdLine.h"
#include "app/KorvidSettings.h"
#include "common/TestDir.h"
#include "toolkit/IniFile.h"

namespace {

IniFile parsed(const QByteArray &text)
{
    IniFile ini(QString{});
    ini.parse(text);
    return ini;
}

// What a save of the defaults writes, key by key, in the file's order.
const QByteArray DefaultsText = "[Korvid32]\n"
                                "AutoStart=1\n"
                                "AutoRepeat=1\n"
                                "BottomToolBar=1\n"
                                "SingleClick=1\n"
                                "ShowFileInfo=1\n"
                                "HideControlPanel=1\n"
                                "ConfirmDelete=1\n"
                                "ConfirmCopy=1\n"
                                "ConfirmReplace=1\n"
                                "FullScreen=0\n"
                                "ShowFileName=0\n"
                                "ShowProgress=0\n"
                                "PasswordProtect=0\n"
                                "Options=\n"
                                "LastDirectory=/pictures\n"
                                "DDirPanelHeight=124\n"
                                "CtrlPanelWidth=168\n"
                                "ShowTime=3\n"
                                "VideoScale=1\n"
                                "WindowState=0\n"
                                "StretchMode=0\n"
                                "BackGround=-2147483633\n"
                                "ListBackGround=-2147483633\n"
                                "SoundDisplay=1\n"
                                "SoundImage=\n"
                                "T=40\n"
                                "L=30\n"
                                "W=554\n"
                                "H=380\n"
                                "BMT=0\n"
                                "BML=0\n"
                                "BMW=273\n"
                                "BMH=185\n";

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyFileGivesEveryDefaultAndWritesEveryKey()
    {
        TKorvidSettings settings;
        settings.ShowTime = 99; // must be reset by reading
        TKorvidWindowState window;
        ReadSettings(parsed(""), settings, window, QStringLiteral("/pictures"));
        QCOMPARE(window.LastDirectory, QStringLiteral("/pictures"));
        QCOMPARE(settings.ShowTime, 3);
        IniFile out = parsed("");
        WriteSettings(out, settings, window);
        QCOMPARE(out.text(), DefaultsText);
    }

    void roundTripOfChangedValues()
    {
        TKorvidSettings settings;
        settings.AutoStart = false;
        settings.PasswordProtect = true;
        settings.Password = QStringLiteral("X#4r");
        settings.ShowTime = 60;
        settings.StretchMode = 2;
        settings.SoundDisplay = 2;
        settings.SoundImage = QStringLiteral("/home/u/sound picture.png");
        settings.BackGround = 0x00FFFFFF;
        settings.BMarkHeight = 300;
        TKorvidWindowState window;
        window.LastDirectory = QStringLiteral("/data/pictures; 2026");
        window.CtrlPanelWidth = 201;
        window.Left = -5;

        IniFile out = parsed("");
        WriteSettings(out, settings, window);
        TKorvidSettings back;
        TKorvidWindowState backWindow;
        ReadSettings(parsed(out.text()), back, backWindow, QStringLiteral("/unused"));
        QCOMPARE(back.AutoStart, false);
        QCOMPARE(back.PasswordProtect, true);
        QCOMPARE(back.Password, settings.Password);
        QCOMPARE(back.ShowTime, 60);
        QCOMPARE(back.StretchMode, 2);
        QCOMPARE(back.SoundImage, settings.SoundImage);
        QCOMPARE(back.BackGround, 0x00FFFFFF);
        QCOMPARE(back.BMarkHeight, 300);
        QCOMPARE(backWindow.LastDirectory, window.LastDirectory);
        QCOMPARE(backWindow.CtrlPanelWidth, 201);
        QCOMPARE(backWindow.Left, -5);
    }

    void hexAndBadValues()
    {
        TKorvidSettings settings;
        TKorvidWindowState window;
        ReadSettings(parsed("[Korvid32]\nBackGround=0x8000000F\nListBackGround=0x00FF00\n"
                            "ShowTime=soon\nAutoStart=0\nAutoRepeat=7\nWindowState=0x2\n"),
                     settings, window, QString());
        QCOMPARE(settings.BackGround, ClBtnFace);
        QCOMPARE(settings.ListBackGround, 0x00FF00);
        QCOMPARE(settings.ShowTime, 3);
        QCOMPARE(settings.AutoStart, false);
        QCOMPARE(settings.AutoRepeat, true);
        QCOMPARE(window.WindowState, 2);
    }

    void maximisedWindowKeepsItsNormalBounds()
    {
        IniFile ini = parsed("[Korvid32]\nT=11\nL=22\nW=600\nH=500\n");
        TKorvidSettings settings;
        TKorvidWindowState window;
        window.WindowState = 2;
        window.Top = 0;
        window.Width = 1920;
        WriteSettings(ini, settings, window);
        QCOMPARE(ini.readInteger(KorvidSection, QStringLiteral("WindowState"), -1), 2);
        QCOMPARE(ini.readInteger(KorvidSection, QStringLiteral("T"), -1), 11);
        QCOMPARE(ini.readInteger(KorvidSection, QStringLiteral("L"), -1), 22);
        QCOMPARE(ini.readInteger(KorvidSection, QStringLiteral("W"), -1), 600);
        QCOMPARE(ini.readInteger(KorvidSection, QStringLiteral("H"), -1), 500);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("autoStart");
        QTest::newRow("nothing") << QStringList{} << QString() << false;
        QTest::newRow("/m before two files takes the first")
            << QStringList{"/m", "a.bmp", "b.bmp"} << "/cwd/a.bmp" << true;
        QTest::newRow("unknown slash switch after a file")
            << QStringList{"b.bmp", "/x"} << "/cwd/b.bmp" << false;
        QTest::newRow("slash argument first is a path")
            << QStringList{"/x", "b.bmp"} << "/x" << false;
        QTest::newRow("/M upper case") << QStringList{"/M"} << QString() << true;
        QTest::newRow("-m") << QStringList{"-m", "x.jpg"} << "/cwd/x.jpg" << true;
        QTest::newRow("--slideshow after file")
            << QStringList{"x.jpg", "--slideshow"} << "/cwd/x.jpg" << true;
        QTest::newRow("-M is not the switch") << QStringList{"-M"} << QString() << false;
        QTest::newRow("unknown dash switch ignored")
            << QStringList{"--fast", "y.png"} << "/cwd/y.png" << false;
        QTest::newRow("absolute path kept")
            << QStringList{"/data/p/z.gif"} << "/data/p/z.gif" << false;
        QTest::newRow("dot segments cleaned")
            << QStringList{"../up/./w.pcx"} << "/up/w.pcx" << false;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, autoStart);
        const TCmdLine parsedLine = ParseCmdLine(arguments, QStringLiteral("/cwd"));
        QCOMPARE(parsedLine.FileName, file);
        QCOMPARE(parsedLine.AutoStartShow, autoStart);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
