// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One picture decoder (chosen by KORVID_FUZZ_DECODER at build time) on arbitrary bytes.
#include <cstdint>
#include <memory>

#include <QBuffer>
#include <QtGlobal>

#include "display/codec/ColorProfile.h"
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
    // Watched row by row as the display does; the rows stay readable after the picture.
    const auto watch = std::make_shared<TDecodeRows>();
    ctx.setRowsWatch(watch);
    {
        // Converted from the profile it carries, as every decoded picture is.
        QImage whole = KORVID_FUZZ_DECODER(buffer, ctx);
        if (!ctx.colorsConverted())
            ConvertToDisplay(whole, ctx.colorProfile());
    }
    const QImage rows = watch->rowsSoFar();
    if (!rows.isNull()) {
        const volatile uchar last = rows.constScanLine(rows.height() - 1)[rows.bytesPerLine() - 1];
        Q_UNUSED(last);
    }
    // Again for a display smaller than the picture, as the fit modes ask; the size comes
    // from the input's first byte so both paths are explored.
    buffer.seek(0);
    DecodeContext fitted([](int) { return 1; });
    const int side = size > 0 ? 1 + data[0] : 1;
    fitted.setCoverSize(QSize(side, side),
                        size > 1 && data[1] & 1 ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio);
    KORVID_FUZZ_DECODER(buffer, fitted);
    // And for the centred part a display at the picture's own size shows first.
    buffer.seek(0);
    DecodeContext part([](int) { return 1; });
    part.setCentredRegion(QSize(side, size > 1 ? 1 + data[1] : side));
    const QImage first = KORVID_FUZZ_DECODER(buffer, part);
    if (!first.isNull() && !part.regionDecoded().isEmpty()
        && (first.size() != part.regionDecoded().size()
            || !QRect(QPoint(0, 0), part.fullSize()).contains(part.regionDecoded())))
        __builtin_trap();
    return 0;
}
