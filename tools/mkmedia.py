#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the small media files that no Debian tool writes: Windows metafiles (WMF),
Standard MIDI files (MID) and RIFF MIDI files (RMI).

usage: mkmedia.py wmf OUT [shapes|text]
       mkmedia.py mid OUT
       mkmedia.py rmi OUT
"""
import struct
import sys


def wmf_record(function, *params):
    words = [p & 0xFFFF for p in params]
    size = 3 + len(words)
    return struct.pack('<IH', size, function) + struct.pack('<%dH' % len(words), *words)


def wmf_bytes(kind):
    width, height = 400, 300
    records = [
        wmf_record(0x020B, 0, 0),            # SetWindowOrg(y, x)
        wmf_record(0x020C, height, width),   # SetWindowExt(y, x)
        # Objects: 0 sky-blue brush, 1 yellow brush, 2 black pen, 3 green brush.
        wmf_record(0x02FC, 0, 0x8040, 0x00C0, 0),   # CreateBrushIndirect: solid, sky blue 0x00C08040
        wmf_record(0x02FC, 0, 0xFFFF, 0x0000, 0),   # solid yellow 0x0000FFFF
        wmf_record(0x02FA, 0, 2, 0, 0, 0),          # CreatePenIndirect solid width 2 black
        wmf_record(0x02FC, 0, 0x9030, 0x0020, 0),   # solid green 0x00209030
        wmf_record(0x012D, 0),               # SelectObject brush 0
        wmf_record(0x012D, 2),               # SelectObject pen
        wmf_record(0x041B, height, width, 0, 0),  # Rectangle(bottom, right, top, left)
        wmf_record(0x012D, 1),
        wmf_record(0x0418, 110, 340, 30, 260),    # Ellipse(bottom, right, top, left)
        wmf_record(0x012D, 3),
    ]
    hills = [(0, 300), (0, 200), (90, 140), (180, 190), (270, 120), (400, 210), (400, 300)]
    params = [len(hills)]
    for x, y in hills:
        params += [x, y]
    records.append(wmf_record(0x0324, *params))  # Polygon
    if kind == 'text':
        text = b'Korvid'
        padded = text + b'\0' * (len(text) % 2)
        words = struct.unpack('<%dH' % (len(padded) // 2), padded)
        records.append(wmf_record(0x0521, len(text), *words, 40, 20))  # TextOut(count, str, y, x)
    records.append(struct.pack('<IH', 3, 0))  # end of file

    body = b''.join(records)
    max_record = max(struct.unpack_from('<I', r)[0] for r in records)
    size_words = (18 + len(body)) // 2
    header = struct.pack('<HHHIHIH', 1, 9, 0x0300, size_words, 4, max_record, 0)
    placeable = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, width, height, 96, 0)
    checksum = 0
    for (word,) in struct.iter_unpack('<H', placeable[:20]):
        checksum ^= word
    return placeable + struct.pack('<H', checksum) + header + body


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def midi_bytes():
    division = 96
    events = bytearray()
    events += vlq(0) + b'\xFF\x51\x03' + (500000).to_bytes(3, 'big')   # 120 beats a minute
    events += vlq(0) + b'\xC0\x00'                                      # piano
    tune = [60, 64, 67, 72, 67, 64, 60]
    for note in tune:
        events += vlq(0) + bytes([0x90, note, 96])
        events += vlq(division // 2) + bytes([0x80, note, 0])
    events += vlq(0) + b'\xFF\x2F\x00'
    header = b'MThd' + struct.pack('>IHHH', 6, 0, 1, division)
    return header + b'MTrk' + struct.pack('>I', len(events)) + bytes(events)


def rmi_bytes():
    smf = midi_bytes()
    data = b'data' + struct.pack('<I', len(smf)) + smf + (b'\0' if len(smf) % 2 else b'')
    return b'RIFF' + struct.pack('<I', 4 + len(data)) + b'RMID' + data


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    kind, out = argv[1], argv[2]
    if kind == 'wmf':
        data = wmf_bytes(argv[3] if len(argv) > 3 else 'shapes')
    elif kind == 'mid':
        data = midi_bytes()
    elif kind == 'rmi':
        data = rmi_bytes()
    else:
        sys.exit(__doc__)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv)
