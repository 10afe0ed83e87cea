// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The header reader of every picture format on arbitrary bytes.
#include <cstdint>

#include <QBuffer>

#include "display/codec/ImageInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TImageInfo info;
    ReadImageInfoFrom(buffer, info);
    return 0;
}
