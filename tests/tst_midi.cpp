// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The check MIDI files pass before the media engine may read them: every track must read
// to its end, since the engine's reader spins for ever on an event it cannot read.
#include <QDirIterator>
#include <QFile>
#include <QTest>
#include <QtEndian>

#include "display/codec/MidiCheck.h"

namespace {

QByteArray chunk(const char *type, const QByteArray &body)
{
    QByteArray out(type, 4);
    out += QByteArray(4, '\0');
    qToBigEndian<quint32>(quint32(body.size()), out.data() + 4);
    return out + body;
}

QByteArray header(int format, int tracks, int division = 96)
{
    QByteArray body(6, '\0');
    qToBigEndian<quint16>(quint16(format), body.data());
    qToBigEndian<quint16>(quint16(tracks), body.data() + 2);
    qToBigEndian<quint16>(quint16(division), body.data() + 4);
    return chunk("MThd", body);
}

QByteArray song(const QByteArray &track)
{
    return header(0, 1) + chunk("MTrk", track);
}

QByteArray rmid(const QByteArray &smf, const QByteArray &before = {})
{
    QByteArray data = before + QByteArray("data", 4) + QByteArray(4, '\0');
    qToLittleEndian<quint32>(quint32(smf.size()), data.data() + before.size() + 4);
    data += smf;
    QByteArray out = QByteArray("RIFF", 4) + QByteArray(4, '\0') + QByteArray("RMID", 4) + data;
    qToLittleEndian<quint32>(quint32(out.size() - 8), out.data() + 4);
    return out;
}

const QByteArray EndOfTrack = QByteArray::fromHex("00ff2f00");
// Two notes, the second in running status.
const QByteArray Notes = QByteArray::fromHex("00903c40"
                                             "603c00"
                                             "003e40"
                                             "603e00");

QString corpus(const QString &sub)
{
    return QStringLiteral(KORVID_CORPUS) + u'/' + sub;
}

} // namespace

class TestMidi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readableFilesPass_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("notes and running status") << song(Notes + EndOfTrack);
        QTest::newRow("running status goes on after a meta event")
            << song(QByteArray::fromHex("00903c40"
                                        "00ff0103616263"
                                        "603c00")
                    + EndOfTrack);
        QTest::newRow("tempo and a system-exclusive event")
            << song(QByteArray::fromHex("00ff510307a120"
                                        "00f0057e7f0901f7")
                    + Notes);
        QTest::newRow("empty track") << song({});
        QTest::newRow("no tracks") << header(1, 0);
        QTest::newRow("unknown chunks are skipped")
            << header(1, 1) + chunk("XFIH", "junk") + chunk("MTrk", Notes);
        QTest::newRow("tracks past the header's count are not read")
            << header(1, 1) + chunk("MTrk", Notes) + chunk("MTrk", QByteArray::fromHex("00fa"));
        QTest::newRow("four-byte delta time")
            << song(QByteArray::fromHex("8fffff7f903c40") + EndOfTrack);
        QTest::newRow("RIFF RMID") << rmid(song(Notes));
        QTest::newRow("RIFF RMID with a padded odd chunk first")
            << rmid(song(Notes), QByteArray("LIST", 4) + QByteArray::fromHex("03000000") + "abc"
                                     + QByteArray(1, '\0'));
    }

    void readableFilesPass()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(LooksLikeMidi(bytes.left(12)));
        QCOMPARE(MidiFileProblem(bytes), QString());
    }

    void unreadableFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("system real-time message in a track")
            << song(QByteArray::fromHex("00fa") + Notes);
        QTest::newRow("song position message") << song(QByteArray::fromHex("00f20000"));
        QTest::newRow("running status before any status") << song(QByteArray::fromHex("003c40"));
        QTest::newRow("data bytes after a system-exclusive event")
            << song(QByteArray::fromHex("00903c40"
                                        "00f0037e7ff7"
                                        "003e40"));
        QTest::newRow("system-exclusive event past the track")
            << song(QByteArray::fromHex("00f0107e7f"));
        QTest::newRow("meta event past the track") << song(QByteArray::fromHex("00ff0120616263"));
        QTest::newRow("meta event without its type") << song(QByteArray::fromHex("00ff"));
        QTest::newRow("meta length of five bytes") << song(QByteArray::fromHex("00ff01ffffffff7f"));
        QTest::newRow("tempo of two bytes") << song(QByteArray::fromHex("00ff51020102"));
        QTest::newRow("delta time cut short") << song(Notes + QByteArray::fromHex("81"));
        QTest::newRow("delta time without an event") << song(Notes + QByteArray::fromHex("00"));
        QTest::newRow("channel message cut short") << song(QByteArray::fromHex("00903c"));
        QTest::newRow("program change without its program") << song(QByteArray::fromHex("00c0"));
        QTest::newRow("division zero") << header(0, 1, 0) + chunk("MTrk", Notes);
        QTest::newRow("SMPTE division") << header(0, 1, 0xE728) + chunk("MTrk", Notes);
        QTest::newRow("format 2") << header(2, 1) + chunk("MTrk", Notes);
        QTest::newRow("format 0 with two tracks")
            << header(0, 2) + chunk("MTrk", Notes) + chunk("MTrk", Notes);
        QTest::newRow("header too short") << chunk("MThd", QByteArray::fromHex("0000"));
        QTest::newRow("track before the header") << chunk("MTrk", Notes) + header(0, 1);
        QTest::newRow("chunk past the end") << song(Notes).chopped(3);
        QTest::newRow("a few bytes after the last chunk") << song(Notes) + "abc";
        QTest::newRow("RIFF RMID without a data chunk")
            << QByteArray("RIFF\x04\0\0\0RMID", 12) + chunk("LIST", "abcd");
        QTest::newRow("RIFF RMID with a bad track") << rmid(song(QByteArray::fromHex("00fe")));
    }

    void unreadableFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!MidiFileProblem(bytes).isEmpty());
    }

    void otherFilesAreNotMidi()
    {
        QVERIFY(!LooksLikeMidi(QByteArray("RIFF\0\0\0\0WAVEfmt ", 16)));
        QVERIFY(!LooksLikeMidi("MTh"));
        QVERIFY(!LooksLikeMidi({}));
        QVERIFY(LooksLikeMidi("MThd"));
    }

    void publicSuite()
    {
        const QString dir = corpus(QStringLiteral("mid/jazz-soft"));
        if (!QFileInfo(dir).isDir())
            QSKIP(qPrintable("test corpus " + dir + " is absent"));
        // The suite's broken files, and those the engine cannot read, are refused; the
        // rest passes.
        const QStringList refused = {"test-illegal-message-*",       "test-corrupt-file-*",
                                     "test-empty-file.mid",          "test-not-a-midi-file.mid",
                                     "test-2-tracks-type-0.mid",     "test-2-tracks-type-2.mid",
                                     "test-running-status-sysex.mid"};
        int passed = 0;
        QDirIterator it(dir, {QStringLiteral("*.mid")}, QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString problem = MidiFileProblem(file.readAll());
            const bool shouldFail = QDir::match(refused, QFileInfo(path).fileName());
            QVERIFY2(problem.isEmpty() != shouldFail, qPrintable(path + u' ' + problem));
            passed += problem.isEmpty() ? 1 : 0;
        }
        QVERIFY(passed >= 50);
    }
};

QTEST_GUILESS_MAIN(TestMidi)
#include "tst_midi.moc"
