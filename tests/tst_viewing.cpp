// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's arithmetic and rules without a window: media-type list, kinds,
// caption, scroll ranges, zoom, video rectangles and keys.
#include <QTest>

#include "app/Caption.h"
#include "app/FormKeys.h"
#include "app/MediaFilter.h"
#include "app/SlidePacer.h"
#include "app/ViewGeometry.h"

Q_DECLARE_METATYPE(TVideoRect)

class TestViewing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filterOffersWhatTheMachineCanPlay()
    {
        const QString all = MakeFilter([](const QString &) { return true; });
        QCOMPARE(all, QStringLiteral(
                          "All MultiMedia Files|*.BMP;*.GIF;*.ICO;*.JPG;*.PCX;*.PNG;*.TIF;*.WMF;"
                          "*.AVI;*.MID;*.MOV;*.RMI;*.WAV;"
                          "|Images Only|*.BMP;*.GIF;*.ICO;*.JPG;*.PCX;*.PNG;*.TIF;*.WMF;"
                          "|Songs Only|*.MID;*.RMI;|Waves Only|*.WAV|Videos Only|*.AVI;*.MOV"
                          "|AVI|*.AVI|BMP|*.BMP|GIF|*.GIF|ICO|*.ICO|JPG|*.JPG|MID|*.MID"
                          "|MOV|*.MOV|PCX|*.PCX|PNG|*.PNG|RMI|*.RMI|TIF|*.TIF|WAV|*.WAV"
                          "|WMF|*.WMF"));

        // No video device: no AVI or MOV entry, none in the first list, groups stay.
        const QString noVideo = MakeFilter([](const QString &extension) {
            return extension != QLatin1String("AVI") && extension != QLatin1String("MOV");
        });
        const QStringList parts = noVideo.split(u'|');
        QVERIFY(!parts.contains(QStringLiteral("AVI")));
        QVERIFY(!parts.contains(QStringLiteral("MOV")));
        QVERIFY(!parts.at(1).contains(QStringLiteral("*.AVI")));
        QVERIFY(!parts.at(1).contains(QStringLiteral("*.MOV")));
        QVERIFY(parts.at(1).endsWith(QStringLiteral("*.MID;*.RMI;*.WAV;")));
        QCOMPARE(parts.at(parts.indexOf(QStringLiteral("Videos Only")) + 1),
                 QStringLiteral("*.AVI;*.MOV"));

        // Nothing playable: pictures only, still starting with all media.
        const QString silent = MakeFilter([](const QString &) { return false; });
        QVERIFY(silent.startsWith(QStringLiteral(
            "All MultiMedia Files|*.BMP;*.GIF;*.ICO;*.JPG;*.PCX;*.PNG;*.TIF;*.WMF;|")));
        QVERIFY(!silent.contains(QStringLiteral("|WAV|")));
        QVERIFY(silent.contains(QStringLiteral("|Waves Only|*.WAV|")));
    }

    void kindsComeFromTheExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::newRow("upper") << "A.BMP" << int(mkImage);
        QTest::newRow("lower") << "photo.jpg" << int(mkImage);
        QTest::newRow("mixed") << "x.Wmf" << int(mkImage);
        QTest::newRow("icon") << "/a/b.ico" << int(mkImage);
        QTest::newRow("song") << "tune.mid" << int(mkSong);
        QTest::newRow("rmi") << "tune.RMI" << int(mkSong);
        QTest::newRow("wave") << "chime.wav" << int(mkWave);
        QTest::newRow("avi") << "clip.avi" << int(mkVideo);
        QTest::newRow("mov") << "clip.MOV" << int(mkVideo);
        QTest::newRow("jpeg spelled out") << "photo.jpeg" << int(mkImage);
        QTest::newRow("jpe") << "photo.JPE" << int(mkImage);
        QTest::newRow("tiff") << "scan.Tiff" << int(mkImage);
        QTest::newRow("jfif is no kind of ours") << "photo.jfif" << int(mkInvalid);
        QTest::newRow("text") << "notes.txt" << int(mkInvalid);
        QTest::newRow("none") << "README" << int(mkInvalid);
        QTest::newRow("dot folder") << "/a.jpg/readme" << int(mkInvalid);
    }

    void kindsComeFromTheExtension()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QCOMPARE(int(MediaKindOf(name)), kind);
    }

    void captions()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        TCaptionFacts facts;
        facts.name = QStringLiteral("SUNSET.JPG");
        facts.size = 48213;
        facts.modified = QDateTime(QDate(1997, 3, 4), QTime(10, 15, 0));
        facts.hasPicture = true;
        facts.width = 640;
        facts.height = 480;
        facts.colors = 0;
        QCOMPARE(
            FileCaption(facts, us),
            QStringLiteral(
                "SUNSET.JPG - 48213 bytes 3/4/97 10:15:00 AM - 640 x 480 Pixels x 16M Colors"));

        facts.colors = 256;
        facts.showFileInfo = false;
        QCOMPARE(FileCaption(facts, us),
                 QStringLiteral("SUNSET.JPG - 640 x 480 Pixels x 256 Colors"));

        // A sound: name, size and date; midnight leaves the time out.
        facts.showFileInfo = true;
        facts.hasPicture = false;
        facts.modified = QDateTime(QDate(2001, 12, 31), QTime(0, 0));
        QCOMPARE(FileCaption(facts, us), QStringLiteral("SUNSET.JPG - 48213 bytes 12/31/01"));

        // Another locale's own order and clock, and no time zone.
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(FileDateTimeText(QDateTime(QDate(1997, 3, 4), QTime(22, 5, 9)), german),
                 QStringLiteral("04.03.97 22:05:09"));
    }

    void scrollRangesAndCentre()
    {
        const QSize box(400, 300);
        QCOMPARE(ScrollRanges(smNormal, box, QSize(100, 100)), QSize(0, 0));
        QCOMPARE(ScrollRanges(smNormal, box, QSize(800, 100)), QSize(800, 0));
        QCOMPARE(ScrollRanges(smNormal, box, QSize(400, 300)), QSize(400, 300));
        QCOMPARE(ScrollRanges(smProportional, box, QSize(800, 900)), box);
        QCOMPARE(ScrollRanges(smFull, box, QSize(10, 10)), box);
        QCOMPARE(CenterPosition(800, 400), 200);
        QCOMPARE(CenterPosition(801, 400), 200);
        QCOMPARE(CenterPosition(0, 401), -200); // toward zero
    }

    void zoomSteps()
    {
        // A 400-pixel display: 20 % in, 16 % out.
        QCOMPARE(ZoomInPercent(400), 20);
        QCOMPARE(ZoomOutPercent(400), 16);
        QCOMPARE(ZoomInPercent(19), 0);
        // From 2000 and 1250 pixels on a step at most doubles or halves: a display 2500
        // pixels wide once shrank to nothing, a wider one to a negative size.
        QCOMPARE(ZoomInPercent(2500), 100);
        QCOMPARE(ZoomOutPercent(2500), 50);
        QCOMPARE(ZoomOutPercent(6000), 50);
        QCOMPARE(ZoomedOut(QSize(5000, 3000), QSize(2500, 1500), ZoomOutPercent(6000), 100),
                 QSize(2500, 1500));
        QCOMPARE(ZoomedIn(QSize(400, 300), 20), QSize(480, 360));
        QCOMPARE(ZoomedIn(QSize(5, 5), 10), QSize(6, 6)); // 5.5 rounds up
        // At 8192 in either direction zooming in stops.
        QCOMPARE(ZoomedIn(QSize(8192, 10), 20), QSize(8192, 10));
        QCOMPARE(ZoomedIn(QSize(10, 8192), 20), QSize(10, 8192));
        // The step that would pass the limit ends at it, keeping the proportions.
        QCOMPARE(ZoomedIn(QSize(8191, 8191), 20), QSize(8192, 8192));
        QCOMPARE(ZoomedIn(QSize(7000, 3500), 57), QSize(8192, 4096));
        QCOMPARE(ZoomedIn(QSize(0, 0), 20), QSize(0, 0));
        // Out: only while the display is larger than the box, and never below it.
        QCOMPARE(ZoomedOut(QSize(400, 300), QSize(400, 300), 16, 20), QSize(400, 300));
        QCOMPARE(ZoomedOut(QSize(420, 315), QSize(400, 300), 16, 20), QSize(400, 300));
        QCOMPARE(ZoomedOut(QSize(691, 518), QSize(400, 300), 16, 20), QSize(580, 435));
        // Within one step in of the fit, a step out is the fit: 480 x 0.84 would leave the
        // display 3 pixels wider than the box.
        QCOMPARE(ZoomedOut(QSize(480, 360), QSize(400, 300), 16, 20), QSize(400, 300));
        QCOMPARE(ZoomedOut(QSize(580, 435), QSize(400, 300), 16, 20), QSize(487, 365));
        // As many steps out as in, from any box: back at the fit.
        for (const QSize &box : {QSize(384, 330), QSize(320, 240), QSize(1108, 955),
                                 QSize(2830, 900), QSize(101, 77)}) {
            const int in = ZoomInPercent(box.width());
            const int out = ZoomOutPercent(box.width());
            for (int steps = 1; steps <= 6; ++steps) {
                QSize display = box;
                for (int i = 0; i < steps; ++i)
                    display = ZoomedIn(display, in);
                for (int i = 0; i < steps; ++i)
                    display = ZoomedOut(display, box, out, in);
                QCOMPARE(display, box);
            }
        }
        QCOMPARE(MulDiv(7, 3, 0), -1);
        QCOMPARE(MulDiv(-5, 1, 2), -3);
        QCOMPARE(MulDiv(2000000000, 3, 2), -1);
    }

    void videoDestination_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<TVideoRect>("video");
        QTest::addColumn<QRect>("display");
        QTest::addColumn<QRect>("client");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QRect>("expected");
        const QRect box(0, 0, 500, 400);
        QTest::newRow("normal, twice the size") << int(smNormal) << TVideoRect{0, 0, 320, 240}
                                                << box << box << 2 << QRect(-70, -40, 640, 480);
        QTest::newRow("normal, own size") << int(smNormal) << TVideoRect{0, 0, 320, 240} << box
                                          << box << 1 << QRect(90, 80, 320, 240);
        QTest::newRow("normal, odd halves")
            << int(smNormal) << TVideoRect{0, 0, 161, 121} << QRect(0, 0, 301, 201)
            << QRect(0, 0, 301, 201) << 1 << QRect(70, 40, 161, 121);
        QTest::newRow("full") << int(smFull) << TVideoRect{0, 0, 320, 240} << QRect(0, 0, 500, 400)
                              << box << 1 << QRect(0, 0, 500, 400);
        QTest::newRow("full, offset display")
            << int(smFull) << TVideoRect{0, 0, 320, 240} << QRect(10, 20, 500, 400) << box << 1
            << QRect(10, 20, 490, 380);
        QTest::newRow("proportional, wide") << int(smProportional) << TVideoRect{0, 0, 320, 240}
                                            << box << box << 1 << QRect(0, 12, 500, 375);
        QTest::newRow("proportional, tall") << int(smProportional) << TVideoRect{0, 0, 240, 320}
                                            << box << box << 1 << QRect(100, 0, 300, 400);
        QTest::newRow("proportional, half to even")
            << int(smProportional) << TVideoRect{0, 0, 100, 100} << QRect(0, 0, 5, 4)
            << QRect(0, 0, 5, 4) << 1 << QRect(0, 0, 4, 4);
        QTest::newRow("proportional, nothing known")
            << int(smProportional) << TVideoRect{} << box << box << 1 << box;
    }

    void videoDestination()
    {
        QFETCH(int, mode);
        QFETCH(TVideoRect, video);
        QFETCH(QRect, display);
        QFETCH(QRect, client);
        QFETCH(int, scale);
        QFETCH(QRect, expected);
        QCOMPARE(VideoDestination(mode, video, display, client, scale), expected);
    }

    void slidePacing()
    {
        SlidePacer pacer;
        QCOMPARE(pacer.interval(1000), 1000);
        pacer.opened(12);
        QCOMPARE(pacer.interval(1000), 988);
        // One slow open (a picture not decoded ahead) does not cut the next one short.
        pacer.opened(400);
        QCOMPARE(pacer.interval(1000), 988);
        pacer.opened(9);
        pacer.opened(300);
        pacer.opened(350);
        QCOMPARE(pacer.interval(1000), 991);
        pacer.opened(320);
        QCOMPARE(pacer.interval(1000), 700);
        QCOMPARE(pacer.interval(100), 0);
        pacer.opened(-5);
        QCOMPARE(pacer.interval(1000), 1000);
        pacer.reset();
        QCOMPARE(pacer.interval(3000), 3000);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("opening");
        QTest::addColumn<bool>("password");
        QTest::addColumn<int>("action");
        QTest::newRow("opening swallows")
            << int(Qt::Key_F2) << false << true << false << int(fkDiscard);
        QTest::newRow("opening during a show")
            << int(Qt::Key_Escape) << true << true << false << int(fkStopShow);
        QTest::newRow("esc stops a show")
            << int(Qt::Key_Escape) << true << false << true << int(fkStopShow);
        QTest::newRow("esc without a show")
            << int(Qt::Key_Escape) << false << false << false << int(fkPassOn);
        QTest::newRow("space pauses")
            << int(Qt::Key_Space) << true << false << false << int(fkPauseShow);
        QTest::newRow("space locked")
            << int(Qt::Key_Space) << true << false << true << int(fkPassOn);
        QTest::newRow("f2") << int(Qt::Key_F2) << false << false << false << int(fkNormal);
        QTest::newRow("f3") << int(Qt::Key_F3) << false << false << false << int(fkProportional);
        QTest::newRow("f4") << int(Qt::Key_F4) << false << false << false << int(fkFull);
        QTest::newRow("f4 locked") << int(Qt::Key_F4) << true << false << true << int(fkPassOn);
        QTest::newRow("letter") << int(Qt::Key_A) << false << false << false << int(fkPassOn);
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(bool, running);
        QFETCH(bool, opening);
        QFETCH(bool, password);
        QFETCH(int, action);
        QCOMPARE(int(FormKeyAction(key, running, opening, password)), action);
    }
};

QTEST_GUILESS_MAIN(TestViewing)
#include "tst_viewing.moc"
