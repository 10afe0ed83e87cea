// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Converting a wide-gamut photograph to the display's colours against decoding it.
#include "CodecBench.h"

#include <QFile>
#include <QTemporaryDir>

#include "BenchFiles.h"
#include "BenchReport.h"
#include "display/codec/Codec.h"
#include "display/codec/ColorProfile.h"

namespace {

constexpr int Runs = 5;
const char *const AdobeRgb = "/usr/share/color/icc/colord/AdobeRGB1998.icc";

} // namespace

void RunColorBenchmark()
{
    const char *name = "icc_convert_over_decode";
    QFile profileFile(QString::fromLatin1(AdobeRgb));
    if (!profileFile.open(QIODevice::ReadOnly))
        return ReportMissing(name, QStringLiteral("%1 is missing (apt-get install colord-data)")
                                       .arg(QString::fromLatin1(AdobeRgb)));
    const QByteArray adobe = profileFile.readAll();
    QTemporaryDir dir;
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    if (!BenchPicture(6000, 4000).save(jpeg, "JPEG", 90))
        return ReportMissing(name, QStringLiteral("cannot write the JPEG"));
    QImage decoded;
    bool ok = true;
    const double decode = BestSeconds(Runs, [&] {
        decoded = QImage();
        ok = ReadJpgFile(jpeg, 24, 0, decoded, {}) && ok;
    });
    if (!ok)
        return ReportMissing(name, QStringLiteral("cannot read %1").arg(jpeg));
    bool converted = true;
    const double convert =
        BestSeconds(Runs, [&] { converted = ConvertToDisplay(decoded, adobe) && converted; });
    if (!converted)
        return ReportMissing(name, QStringLiteral("the Adobe RGB profile was not applied"));
    ReportRatio(name, convert / decode);
}
