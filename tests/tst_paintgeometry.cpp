// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "display/PaintGeometry.h"

class TestPaintGeometry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("half down to even") << 132.5 << 132;
        QTest::newRow("half up to even") << 133.5 << 134;
        QTest::newRow("below half") << 133.33 << 133;
        QTest::newRow("above half") << 133.67 << 134;
        QTest::newRow("negative half") << -2.5 << -2;
        QTest::newRow("zero") << 0.0 << 0;
    }

    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(RoundHalfEven(value), rounded);
    }

    void stretchRatio_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("bitmap");
        QTest::addColumn<QRect>("destination");
        QTest::newRow("width limits")
            << QSize(200, 200) << QSize(400, 300) << QRect(0, 25, 200, 150);
        QTest::newRow("height limits")
            << QSize(400, 100) << QSize(400, 300) << QRect(133, 0, 133, 100);
        QTest::newRow("tie: width limits")
            << QSize(200, 150) << QSize(400, 300) << QRect(0, 0, 200, 150);
        QTest::newRow("enlarged") << QSize(800, 800) << QSize(40, 30) << QRect(0, 100, 800, 600);
        // 3 x 1 into 10 x 1: spare width 7, half of it 3.5 goes to the even 4.
        QTest::newRow("half rounds to even") << QSize(10, 1) << QSize(3, 1) << QRect(4, 0, 3, 1);
        QTest::newRow("zero-sized bitmap") << QSize(120, 80) << QSize(0, 0) << QRect(0, 0, 120, 80);
        QTest::newRow("zero-height bitmap")
            << QSize(120, 80) << QSize(10, 0) << QRect(0, 0, 120, 80);
    }

    void stretchRatio()
    {
        QFETCH(QSize, client);
        QFETCH(QSize, bitmap);
        QFETCH(QRect, destination);
        QCOMPARE(StretchRatioRect(client.width(), client.height(), bitmap.width(), bitmap.height()),
                 destination);
    }

    void center_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("smaller") << QSize(101, 101) << QSize(50, 50) << QPoint(25, 25);
        QTest::newRow("larger: cut evenly")
            << QSize(101, 101) << QSize(300, 300) << QPoint(-99, -99);
        QTest::newRow("same") << QSize(64, 48) << QSize(64, 48) << QPoint(0, 0);
        QTest::newRow("odd difference") << QSize(10, 10) << QSize(7, 13) << QPoint(1, -1);
    }

    void center()
    {
        QFETCH(QSize, client);
        QFETCH(QSize, picture);
        QFETCH(QPoint, origin);
        QCOMPARE(CenterOrigin(client.width(), client.height(), picture.width(), picture.height()),
                 origin);
    }
};

QTEST_APPLESS_MAIN(TestPaintGeometry)
#include "tst_paintgeometry.moc"
