// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/codec/MidiCheck.h"

#include <QtEndian>

#include <optional>

namespace {

// A bounded view of the bytes still to read.
struct Cursor
{
    const uchar *at;
    qsizetype left;

    bool skip(qint64 count)
    {
        if (count < 0 || count > left)
            return false;
        at += count;
        left -= count;
        return true;
    }
};

// A variable-length quantity: at most four bytes, all inside the data.
std::optional<quint32> readVarLen(Cursor &c)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        if (c.left == 0)
            return std::nullopt;
        const uchar byte = *c.at;
        c.skip(1);
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

QString checkTrack(Cursor track)
{
    uchar running = 0;
    // The track ends with its data; it may not end inside a delta time or an event.
    while (track.left > 0) {
        if (!readVarLen(track))
            return QStringLiteral("A delta time is cut short.");
        if (track.left == 0)
            return QStringLiteral("A track ends inside an event.");
        uchar status = *track.at;
        if (!(status & 0x80)) {
            if (!(running & 0x80))
                return QStringLiteral("A track has data bytes where a status byte belongs.");
            status = running;
        } else {
            track.skip(1);
        }
        if (status == 0xFF) {
            if (track.left < 1)
                return QStringLiteral("A meta event is cut short.");
            const uchar type = *track.at;
            track.skip(1);
            const auto length = readVarLen(track);
            if (!length || !track.skip(*length))
                return QStringLiteral("A meta event is cut short.");
            if (type == 0x51 && *length < 3)
                return QStringLiteral("A tempo event is too short.");
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            const auto length = readVarLen(track);
            if (!length || !track.skip(*length))
                return QStringLiteral("A system-exclusive event is cut short.");
            // Data bytes after it would be read as more system-exclusive data.
            running = 0;
            continue;
        }
        if (status >= 0xF0)
            return QStringLiteral(
                       "A track holds the system message %1, which has no place in a file.")
                .arg(status, 2, 16, QLatin1Char('0'));
        const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (!track.skip(dataBytes))
            return QStringLiteral("A channel message is cut short.");
        running = status;
    }
    return {};
}

} // namespace

bool LooksLikeMidi(const QByteArray &head)
{
    return head.startsWith("MThd")
           || (head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

QString MidiFileProblem(const QByteArray &bytes)
{
    Cursor file{reinterpret_cast<const uchar *>(bytes.constData()), bytes.size()};
    if (bytes.startsWith("RIFF")) {
        // The song is the "data" chunk of the RIFF form.
        if (!file.skip(12) || bytes.mid(8, 4) != "RMID")
            return QStringLiteral("The RIFF file holds no MIDI song.");
        for (;;) {
            if (file.left < 8)
                return QStringLiteral("The RIFF file holds no MIDI song.");
            const bool data = QByteArray(reinterpret_cast<const char *>(file.at), 4) == "data";
            const quint32 length = qFromLittleEndian<quint32>(file.at + 4);
            file.skip(8);
            if (data) {
                file.left = qMin<qsizetype>(file.left, length);
                break;
            }
            if (!file.skip(length + (length & 1)))
                return QStringLiteral("The RIFF file holds no MIDI song.");
        }
    }
    int tracks = -1;
    int tracksRead = 0;
    while (file.left > 0) {
        if (file.left < 8)
            return QStringLiteral("The file ends inside a chunk header.");
        const QByteArray type(reinterpret_cast<const char *>(file.at), 4);
        const quint32 length = qFromBigEndian<quint32>(file.at + 4);
        file.skip(8);
        Cursor chunk{file.at, qsizetype(length)};
        if (!file.skip(length))
            return QStringLiteral("A chunk runs past the end of the file.");
        if (type == "MThd") {
            if (length < 6)
                return QStringLiteral("The MIDI header is too short.");
            const int format = qFromBigEndian<quint16>(chunk.at);
            tracks = qFromBigEndian<quint16>(chunk.at + 2);
            const int division = qFromBigEndian<quint16>(chunk.at + 4);
            if (format > 1 || (format == 0 && tracks > 1))
                return QStringLiteral("MIDI files of format %1 cannot be played.").arg(format);
            if (division == 0 || (division & 0x8000))
                return QStringLiteral("The file's time division cannot be played.");
        } else if (type == "MTrk") {
            if (tracks < 0)
                return QStringLiteral("A track comes before the MIDI header.");
            // Tracks beyond the number in the header are not played.
            if (tracksRead++ >= tracks)
                continue;
            const QString problem = checkTrack(chunk);
            if (!problem.isEmpty())
                return problem;
        }
    }
    if (tracks < 0)
        return QStringLiteral("The file has no MIDI header.");
    return {};
}
