// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scrolling text messages: the two file formats and how the display control moves them.
#include <QCoreApplication>
#include <QTest>

#include "common/TestDir.h"
#include "display/TMultiMP.h"
#include "display/codec/MessageFile.h"
#include "toolkit/PlatformColor.h"

namespace {

struct Tagged
{
    TMessageFont font;
    int speed = 7;
    QString text = QStringLiteral("before");
    qint32 back = 7;
};

Tagged parseTagged(const QString &text, Tagged start = {})
{
    ParseTaggedMessage(text, start.font, start.speed, start.text, start.back);
    return start;
}

// Ticks the control n times and lets each tick's steps run.
void tick(TPMultiMedia &control, int n)
{
    for (int i = 0; i < n; ++i) {
        control.TickMessage();
        QCoreApplication::sendPostedEvents(&control);
    }
}

} // namespace

class TestMessage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tagsAndTheirRules()
    {
        QString value;
        QVERIFY(TagValue(QStringLiteral("/a|x/b|"), QStringLiteral("/a|"), QStringLiteral("/b|"),
                         value));
        QCOMPARE(value, QStringLiteral("x"));
        // The end before the start: found, empty.
        QVERIFY(TagValue(QStringLiteral("/b|/a|x"), QStringLiteral("/a|"), QStringLiteral("/b|"),
                         value));
        QVERIFY(value.isEmpty());
        QVERIFY(
            !TagValue(QStringLiteral("/a|x"), QStringLiteral("/a|"), QStringLiteral("/b|"), value));

        // Only the text: every other pair takes its default.
        Tagged only = parseTagged(QStringLiteral("/sm|Hi/eo|"));
        QCOMPARE(only.text, QStringLiteral("Hi"));
        QCOMPARE(only.font.Color, 255);
        QCOMPARE(only.font.Height, -13);
        QCOMPARE(only.font.Name, QStringLiteral("SYSTEM"));
        QCOMPARE(only.back, 128);
        QCOMPARE(only.speed, 1);
        QCOMPARE(only.font.toFont().pixelSize(), 13);

        // The example: bold black 20-pixel Arial on white, every third tick.
        const Tagged example = parseTagged(
            QStringLiteral("/fc|0/fh|-20/fn|Arial/fs|/ft|1000/bc|16777215/sp|2/sm|Welcome/eo|"));
        QCOMPARE(example.font.Color, 0);
        QCOMPARE(example.font.Height, -20);
        QCOMPARE(example.font.Name, QStringLiteral("Arial"));
        QVERIFY(example.font.Bold && !example.font.Italic && !example.font.Underline);
        QCOMPARE(example.back, 16777215);
        QCOMPARE(example.speed, 2);
        QCOMPARE(example.text, QStringLiteral("Welcome"));

        // A tag at the very start counts; "$" is hexadecimal; empty values keep what was
        // there; the size decides over the height; an empty style is no style.
        Tagged start;
        start.font.Bold = true;
        start.font.Name = QStringLiteral("Kept");
        const Tagged hex =
            parseTagged(QStringLiteral("/fc|$FF00/fh|-40/fn|/fs|12/ft|/bc|/sp|$A/sm|/eo|"), start);
        QCOMPARE(hex.font.Color, 0xFF00);
        QCOMPARE(hex.font.Name, QStringLiteral("Kept"));
        QCOMPARE(hex.font.Height, -16);
        QVERIFY(!hex.font.Bold);
        QCOMPARE(hex.back, 7);
        QCOMPARE(hex.speed, 10);
        QCOMPARE(hex.text, QStringLiteral("before"));
        // Without the end tag the text counts as missing.
        QCOMPARE(parseTagged(QStringLiteral("/sm|Hi")).text,
                 QStringLiteral(" Invallid message format ! "));
        // Size and style stay when their pairs are missing.
        const Tagged kept = parseTagged(QStringLiteral("/bc|1/sp|0/sm|x/eo|"), start);
        QVERIFY(kept.font.Bold);

        // Numbers that are not: the load fails.
        QVERIFY_THROWS_EXCEPTION(TMessageConvertError, parseTagged(QStringLiteral("/fc|red/fh|")));
        QVERIFY_THROWS_EXCEPTION(TMessageConvertError,
                                 parseTagged(QStringLiteral("/sp|99999999999/sm|")));
        QCOMPARE(MessageInteger(QStringLiteral("$FFFFFFFF")), -1);
        QCOMPARE(MessageInteger(QStringLiteral("-2147483648")), qint32(-2147483647 - 1));
        QVERIFY_THROWS_EXCEPTION(TMessageConvertError, MessageInteger(QStringLiteral("1 2")));
        QVERIFY_THROWS_EXCEPTION(TMessageConvertError, MessageInteger(QStringLiteral("$")));

        TMessageFont font;
        int speed = 0;
        QString text;
        qint32 back = 0;
        QVERIFY(!ReadTaggedMessage(QStringLiteral("/no/such/file.scm"), font, speed, text, back));
    }

    void lineFiles()
    {
        TMessageFont font;
        int speed = 0;
        qint32 back = 0;
        QStringList lines;
        ParseLineMessage("title\r\n255\r\n-16\r\nArial\r\n9\r\n0100\r\n$FF0000\r\n3\r\nOne\nTwo\r"
                         "Three\r\n\r\n",
                         font, speed, back, lines);
        QCOMPARE(font.Color, 255);
        QCOMPARE(font.Height, -12); // the size decides
        QCOMPARE(font.Name, QStringLiteral("Arial"));
        QVERIFY(font.Italic && !font.Bold);
        QCOMPARE(back, 0xFF0000);
        QCOMPARE(speed, 3);
        QCOMPARE(lines, QStringList({"One", "Two", "Three", ""}));

        QVERIFY_THROWS_EXCEPTION(
            TMessageConvertError,
            ParseLineMessage("t\nred\n1\nA\n1\n\n1\n1\nx", font, speed, back, lines));
        QVERIFY_THROWS_EXCEPTION(TMessageConvertError,
                                 ParseLineMessage("t\n1\n1", font, speed, back, lines));

        // Only the first 65,527 bytes count.
        TestDir dir;
        QByteArray big = "t\n0\n-13\nA\n8\n\n0\n0\n";
        big += QByteArray(65527 - big.size() - 2, 'x') + "\nyy\nlost\n";
        const QString path = dir.write(QStringLiteral("big.cms"), big);
        QVERIFY(ReadLineMessage(path, font, speed, back, lines));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.last(), QStringLiteral("y"));
        QVERIFY(
            !ReadLineMessage(dir.filePath(QStringLiteral("none.cms")), font, speed, back, lines));
    }

    void marqueeMovesAndWraps()
    {
        TestDir dir;
        const QString file = dir.write(QStringLiteral("hello.scm"), "/sp|0/sm|Hello there/eo|");
        TPMultiMedia control;
        control.resize(300, 60);
        const QColor before = control.Color();
        control.setMediaName(file);
        QVERIFY(control.Marquee);
        QCOMPARE(control.Color(), ColorFromPlatform(128));
        QVERIFY(control.Picture().isEmpty());
        const int strip = control.StripWidth;
        QVERIFY(strip > 20);
        QCOMPARE(control.Strip().size(), QSize(strip, control.StripHeight));
        QCOMPARE(control.ScrollX, 300);
        QCOMPARE(control.ScrollY, (60 - control.StripHeight) / 2);

        // Speed 0: one pixel a tick; after the strip left the control it comes back at the
        // right edge.
        tick(control, 1);
        QCOMPARE(control.ScrollX, 299);
        tick(control, 300 + strip - 1);
        QCOMPARE(control.ScrollX, 300 - (300 + strip));
        tick(control, 1);
        QCOMPARE(control.ScrollX, 300);

        // It is drawn: red text on dark red where the strip stands.
        tick(control, 200);
        const QImage shot = control.grab().toImage();
        int ink = 0;
        for (int x = 100; x < std::min(300, 100 + strip); ++x) {
            for (int y = control.ScrollY; y < control.ScrollY + control.StripHeight; ++y)
                ink += shot.pixelColor(x, y).red() > 200 ? 1 : 0;
        }
        QVERIFY(ink > 10);
        QCOMPARE(shot.pixelColor(5, 2), ColorFromPlatform(128));

        // Speed 2: every third tick.
        control.MessageSpeed = 2;
        control.TickCount = 0;
        const int x = control.ScrollX;
        tick(control, 2);
        QCOMPARE(control.ScrollX, x);
        tick(control, 1);
        QCOMPARE(control.ScrollX, x - 1);

        // Clearing puts the colour back.
        control.ClearMessage();
        QVERIFY(!control.Marquee);
        QCOMPARE(control.Color(), before);

        // A number that is not one: nothing shows, without a word.
        control.setMediaName(dir.write(QStringLiteral("bad.scm"), "/fc|red/fh|1/sm|x/eo|"));
        QVERIFY(!control.Marquee);
        QCOMPARE(control.Color(), before);
    }

    void creditsRiseLineByLine()
    {
        TestDir dir;
        const QString file = dir.write(QStringLiteral("roll.cms"),
                                       "t\n255\n-13\nSYSTEM\n0\n\n128\n0\nAlpha\n \nBeta\nGamma\n");
        TPMultiMedia control;
        control.resize(200, 80);
        control.setMediaName(file);
        QVERIFY(control.Credits);
        QCOMPARE(control.MessageText, QStringLiteral("  Alpha "));
        QCOMPARE(control.ScrollY, 80);
        QCOMPARE(control.Strip().height(), control.StripHeight + 5);
        QCOMPARE(control.ScrollX, (200 - control.StripWidth) / 2);

        // A line gives way once its top is more than its height plus 5 above the top.
        QStringList shown = {control.MessageText};
        for (int step = 0; step < 2000 && shown.size() < 5; ++step) {
            tick(control, 1);
            if (control.MessageText != shown.last())
                shown.append(control.MessageText);
            if (control.ScrollY == -(control.StripHeight + 5))
                QCOMPARE(control.MessageText, shown.last());
        }
        QCOMPARE(shown, QStringList({"  Alpha ", " ", "  Beta ", "  Gamma ", "  Alpha "}));

        // A paste ends the message.
        control.ClearMessage();
        QVERIFY(!control.Credits);
    }
};

QTEST_MAIN(TestMessage)
#include "tst_message.moc"
