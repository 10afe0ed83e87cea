// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

#include "BenchReport.h"
#include "CodecBench.h"
#include "MallocCounter.h"
#include "common/HostileFiles.h"
#include "display/codec/Codec.h"
#include "display/codec/Decoders.h"

namespace {

using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);

// The heap a refusal of path took at its peak, in bytes; false when it was not refused.
bool refusalPeak(const QString &path, std::size_t &peak)
{
    const QString suffix = QFileInfo(path).suffix();
    Reader reader = suffix == QLatin1String("bmp")   ? ReadBmpFile
                    : suffix == QLatin1String("pcx") ? ReadPcxFile
                    : suffix == QLatin1String("gif") ? ReadGifFile
                    : suffix == QLatin1String("png") ? ReadPngFile
                    : suffix == QLatin1String("tif") ? ReadTifFile
                                                     : nullptr;
    const std::size_t before = HeapInUse();
    ResetHeapPeak();
    bool refused = false;
    if (reader) {
        QImage image;
        refused = !reader(path, 24, 1, image, {});
    } else {
        QFile file(path);
        DecodeContext ctx;
        refused = file.open(QIODevice::ReadOnly) && DecodeIco(file, ctx).isNull();
    }
    peak = HeapPeak() - std::min(before, HeapPeak());
    return refused;
}

} // namespace

void RunHostileBenchmark()
{
    QTemporaryDir dir;
    QStringList paths;
    for (const HostileFile &file : HostileFiles()) {
        QFile out(dir.filePath(file.name));
        if (out.open(QIODevice::WriteOnly) && out.write(file.bytes) == file.bytes.size())
            paths.append(out.fileName());
    }
    const struct
    {
        int bits, samples;
        bool tiled, planar;
    } tiffs[] = {{1, 1, false, false}, {8, 1, false, false}, {8, 3, false, false},
                 {8, 1, true, false},  {8, 3, true, false},  {8, 3, false, true}};
    int index = 0;
    for (const auto &t : tiffs) {
        const QString path = dir.filePath(QStringLiteral("huge%1.tif").arg(index++));
        if (!hugeTiff(path, t.bits, t.samples, t.tiled, t.planar).isEmpty())
            paths.append(path);
    }
    std::size_t worst = 0;
    QStringList shown;
    for (const QString &path : std::as_const(paths)) {
        std::size_t peak = 0;
        if (!refusalPeak(path, peak))
            shown.append(QFileInfo(path).fileName());
        worst = std::max(worst, peak);
    }
    if (!shown.isEmpty())
        ReportMissing("hostile_peak_mb",
                      QStringLiteral("these were not refused: ") + shown.join(u' '));
    else
        ReportValue("hostile_peak_mb", double(worst) / (1 << 20), 1, "MB");
}
