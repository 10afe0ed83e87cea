// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "common/TestDir.h"
#include "toolkit/IniFile.h"

namespace {

IniFile parsed(const QByteArray &text)
{
    IniFile ini(QString{});
    ini.parse(text);
    return ini;
}

const QString S = QStringLiteral("Korvid32");

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lookupIgnoresCaseAndTrims()
    {
        const IniFile ini = parsed("; a comment\r\n[korvid32]\r\n  ShowTime = 7 \r\n"
                                   "Path=a=b\r\n[Other]\r\nShowTime=9\r\n");
        QCOMPARE(ini.readInteger(S, QStringLiteral("SHOWTIME"), 3), 7);
        QCOMPARE(ini.readInteger(QStringLiteral("other"), QStringLiteral("showtime"), 3), 9);
        QCOMPARE(ini.readString(S, QStringLiteral("Path"), {}), QStringLiteral("a=b"));
        QCOMPARE(ini.readString(S, QStringLiteral("Missing"), QStringLiteral("def")),
                 QStringLiteral("def"));
        QVERIFY(!ini.hasKey(QStringLiteral("Nowhere"), QStringLiteral("ShowTime")));
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << "42" << 42;
        QTest::newRow("negative") << "-3" << -3;
        QTest::newRow("plus sign") << "+4" << 4;
        QTest::newRow("blanks around") << "  8 " << 8;
        QTest::newRow("hex lower") << "0x10" << 16;
        QTest::newRow("hex upper prefix") << "0X1f" << 31;
        QTest::newRow("system colour as hex") << "0x8000000F" << -2147483633;
        QTest::newRow("system colour as decimal") << "-2147483633" << -2147483633;
        QTest::newRow("all bits") << "0xFFFFFFFF" << -1;
        QTest::newRow("empty gives default") << "" << 555;
        QTest::newRow("word gives default") << "abc" << 555;
        QTest::newRow("trailing junk gives default") << "12abc" << 555;
        QTest::newRow("bare prefix gives default") << "0x" << 555;
        QTest::newRow("bad hex digit gives default") << "0x1G" << 555;
        QTest::newRow("signed hex gives default") << "0x-1" << 555;
        QTest::newRow("hex over 32 bits gives default") << "0x1FFFFFFFF" << 555;
        QTest::newRow("decimal over 32 bits gives default") << "2147483648" << 555;
    }

    void readInteger()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        const IniFile ini = parsed("[Korvid32]\nKey=" + value.toUtf8() + "\n");
        QCOMPARE(ini.readInteger(S, QStringLiteral("Key"), 555), expected);
    }

    void readBool_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("def");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << "1" << false << true;
        QTest::newRow("0") << "0" << true << false;
        QTest::newRow("any non-zero") << "2" << false << true;
        QTest::newRow("negative") << "-1" << false << true;
        QTest::newRow("word keeps default true") << "yes" << true << true;
        QTest::newRow("word keeps default false") << "yes" << false << false;
    }

    void readBool()
    {
        QFETCH(QString, value);
        QFETCH(bool, def);
        QFETCH(bool, expected);
        const IniFile ini = parsed("[Korvid32]\nKey=" + value.toUtf8() + "\n");
        QCOMPARE(ini.readBool(S, QStringLiteral("Key"), def), expected);
    }

    void writingKeepsEverythingElse()
    {
        const QByteArray before = "; kept comment\n"
                                  "[Other]\n"
                                  "Foo=bar, baz\n"
                                  "\n"
                                  "[Korvid32]\n"
                                  "ShowTime=3\n"
                                  "Unknown=kept\n"
                                  "\n"
                                  "[Last]\n"
                                  "X=1\n";
        IniFile ini = parsed(before);
        ini.writeInteger(S, QStringLiteral("showtime"), 9);
        ini.writeBool(S, QStringLiteral("AutoStart"), false);
        ini.writeString(QStringLiteral("New Section"), QStringLiteral("Key"), QStringLiteral("v"));
        QCOMPARE(ini.text(), QByteArray("; kept comment\n"
                                        "[Other]\n"
                                        "Foo=bar, baz\n"
                                        "\n"
                                        "[Korvid32]\n"
                                        "ShowTime=9\n"
                                        "Unknown=kept\n"
                                        "AutoStart=0\n"
                                        "\n"
                                        "[Last]\n"
                                        "X=1\n"
                                        "[New Section]\n"
                                        "Key=v\n"));
    }

    void valuesCannotInjectLines()
    {
        IniFile ini = parsed("");
        ini.writeString(S, QStringLiteral("LastDirectory"), QStringLiteral("a\nAutoStart=0\r\nb"));
        QCOMPARE(ini.readString(S, QStringLiteral("LastDirectory"), {}),
                 QStringLiteral("a AutoStart=0  b"));
        QVERIFY(!ini.hasKey(S, QStringLiteral("AutoStart")));
        QCOMPARE(parsed(ini.text()).readString(S, QStringLiteral("LastDirectory"), {}),
                 QStringLiteral("a AutoStart=0  b"));
    }

    void saveAndReload()
    {
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/KORVID.INI"));
        IniFile ini(path);
        QVERIFY(ini.isReadable());
        ini.writeString(S, QStringLiteral("LastDirectory"), QStringLiteral("/tmp/ü photos"));
        ini.writeInteger(S, QStringLiteral("BackGround"), -2147483633);
        QVERIFY2(ini.save(), qPrintable(ini.errorString()));
        QCOMPARE(dir.read(QStringLiteral("sub/KORVID.INI")),
                 QByteArray("[Korvid32]\nLastDirectory=/tmp/\xc3\xbc photos\n"
                            "BackGround=-2147483633\n"));
        const QStringList left = QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("KORVID.INI")});
        const IniFile again(path);
        QCOMPARE(again.readInteger(S, QStringLiteral("BackGround"), 0), -2147483633);
    }

    void saveFailureIsReportedAndHarmless()
    {
        TestDir dir;
        // A plain file where the folder should be: nothing can be written below it.
        dir.write(QStringLiteral("blocker"), "do not touch");
        IniFile ini(dir.filePath(QStringLiteral("blocker/KORVID.INI")));
        ini.writeBool(S, QStringLiteral("AutoStart"), true);
        QVERIFY(!ini.save());
        QVERIFY(!ini.errorString().isEmpty());
        QCOMPARE(dir.read(QStringLiteral("blocker")), QByteArray("do not touch"));
    }

    void unreadableFileIsNeverReplaced()
    {
        TestDir dir;
        // A folder in the file's place cannot be read as a profile.
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("KORVID.INI/inner"))));
        IniFile ini(dir.filePath(QStringLiteral("KORVID.INI")));
        QVERIFY(!ini.isReadable());
        QCOMPARE(ini.readInteger(S, QStringLiteral("ShowTime"), 3), 3);
        ini.writeInteger(S, QStringLiteral("ShowTime"), 4);
        QVERIFY(!ini.save());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("KORVID.INI/inner"))).isDir());
    }

    void hostileTextDoesNotConfuse()
    {
        const IniFile ini = parsed("[unterminated\nA=1\n[]\n=novalue\n\xff\xfe[x]\n"
                                   "B\n[Korvid32\nC=2\n");
        QCOMPARE(ini.readInteger(QStringLiteral("unterminated"), QStringLiteral("A"), 0), 1);
        QCOMPARE(ini.readInteger(S, QStringLiteral("C"), 0), 2);
        QVERIFY(!ini.hasKey(QString(), QString()));
    }

    void byteOrderMarksAtTheStartAreNotText()
    {
        // However many an editor left, saving must not turn the first line into another.
        IniFile ini = parsed("\xef\xbb\xbf\xef\xbb\xbf\xef\xbb\xbf[Korvid32]\nShowTime =\n");
        ini.writeInteger(S, QStringLiteral("ShowTime"), 5);
        QCOMPARE(parsed(ini.text()).readInteger(S, QStringLiteral("ShowTime"), 0), 5);
        QVERIFY(ini.text().startsWith("[Korvid32]"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
