// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QTest>

#include "common/TestDir.h"
#include "platform/Platform.h"

class TestPlatform : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void countBackslashes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("root") << QStringLiteral("/") << 1;
        QTest::newRow("one level") << QStringLiteral("/home") << 1;
        QTest::newRow("two levels") << QStringLiteral("/home/user") << 2;
        QTest::newRow("trailing separator") << QStringLiteral("/home/user/") << 3;
        QTest::newRow("relative name") << QStringLiteral("photo.jpg") << 0;
    }

    void countBackslashes()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(CountBackslashes(text), count);
    }

    void driveReady()
    {
        TestDir dir;
        QVERIFY(DriveReady(QDir::rootPath()));
        QVERIFY(DriveReady(dir.path()));
        QVERIFY(!DriveReady(QString()));
        QVERIFY(!DriveReady(dir.filePath(QStringLiteral("no-such-volume"))));
        // A plain file is no volume root.
        QVERIFY(!DriveReady(dir.write(QStringLiteral("file.txt"))));
    }

    void volumeRootsHoldTheRoot()
    {
        QStringList roots = VolumeRoots();
        QVERIFY2(roots.contains(QDir::rootPath()), qPrintable(roots.join(u' ')));
        QCOMPARE(roots.removeDuplicates(), 0);
    }

    void configDirIsCreatedInsideHome()
    {
        const QString dir = ConfigDir();
        QVERIFY(QFileInfo(dir).isDir());
        QVERIFY2(dir.startsWith(QDir::homePath()), qPrintable(dir));
        QVERIFY(dir.endsWith(QLatin1String("/korvid")));
    }

    void defaultBrowseDirPrefersPictures()
    {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QDir(pictures).removeRecursively();
        QCOMPARE(DefaultBrowseDir(), HomeDir());
        QVERIFY(QDir().mkpath(pictures));
        QCOMPARE(DefaultBrowseDir(), QDir::cleanPath(pictures));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
