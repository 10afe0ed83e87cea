// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One picture decoder (chosen by KORVID_FUZZ_DECODER at build time) on arbitrary bytes.
#include <cstdint>

#include <QBuffer>
#include <QtGlobal>

#include "display/codec/Decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Qt's readers (icons) warn about every bad seek; printing them would slow the run.
    static const bool silenced = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return true;
    }();
    Q_UNUSED(silenced);
    // Enough for any seed; keeps hostile headers from exhausting the fuzzer's memory.
    SetDecodeLimit(qint64(1) << 20);
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DecodeContext ctx([](int) { return 1; });
    KORVID_FUZZ_DECODER(buffer, ctx);
    // Again for a display smaller than the picture, as the fit modes ask; the size comes
    // from the input's first byte so both paths are explored.
    buffer.seek(0);
    DecodeContext fitted([](int) { return 1; });
    const int side = size > 0 ? 1 + data[0] : 1;
    fitted.setCoverSize(QSize(side, side));
    KORVID_FUZZ_DECODER(buffer, fitted);
    return 0;
}
