// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The metafile reader and player on arbitrary bytes.
#include <cstdint>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "display/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Text needs the font database, which needs an application object.
    static int argc = 1;
    static char name[] = "fuzz_wmf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);
    const TMetafile metafile = TMetafile::fromData(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    QImage canvas(64, 48, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    metafile.play(painter, canvas.rect());
    return 0;
}
