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

// The JPEG with the profile in an APP2 marker after the start of image.
QByteArray withProfile(const QByteArray &jpeg, const QByteArray &icc)
{
    QByteArray marker("ICC_PROFILE\0\1\1", 14);
    marker += icc;
    const qsizetype length = marker.size() + 2;
    QByteArray out = jpeg.left(2);
    out += char(0xFF);
    out += char(0xE2);
    out += char(length >> 8);
    out += char(length & 0xFF);
    out += marker;
    out += jpeg.mid(2);
    return out;
}

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

// What colour management adds to reading a photograph (converted as its rows arrive),
// and the conversion as a pass of its own over the decoded picture.
void RunColorBenchmark()
{
    const char *name = "icc_convert_over_decode";
    QFile profileFile(QString::fromLatin1(AdobeRgb));
    if (!profileFile.open(QIODevice::ReadOnly))
        return ReportMissing(name, QStringLiteral("%1 is missing (apt-get install colord-data)")
                                       .arg(QString::fromLatin1(AdobeRgb)));
    const QByteArray adobe = profileFile.readAll();
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.jpg"));
    const QString tagged = dir.filePath(QStringLiteral("adobe.jpg"));
    if (!BenchPicture(6000, 4000).save(plain, "JPEG", 90))
        return ReportMissing(name, QStringLiteral("cannot write the JPEG"));
    QFile plainFile(plain);
    if (!plainFile.open(QIODevice::ReadOnly)
        || !writeFile(tagged, withProfile(plainFile.readAll(), adobe)))
        return ReportMissing(name, QStringLiteral("cannot write the Adobe RGB JPEG"));
    QImage decoded;
    QImage first;
    bool ok = true;
    const auto read = [&](const QString &file) {
        decoded = QImage();
        ok = ReadJpgFile(file, 24, 0, decoded, {}) && ok;
    };
    double decode = 0, managed = 0;
    // Interleaved, so that a change of the machine's load falls on both.
    for (int run = 0; run < 3; ++run) {
        const double d = BestSeconds(Runs, [&] { read(plain); });
        first = decoded;
        const double m = BestSeconds(Runs, [&] { read(tagged); });
        decode = run == 0 ? d : qMin(decode, d);
        managed = run == 0 ? m : qMin(managed, m);
    }
    if (!ok)
        return ReportMissing(name, QStringLiteral("cannot read %1").arg(tagged));
    if (decoded == first)
        return ReportMissing(name, QStringLiteral("the Adobe RGB profile was not applied"));
    ReportRatio(name, qMax(0.0, managed - decode) / decode);
    bool converted = true;
    const double pass =
        BestSeconds(Runs, [&] { converted = ConvertToDisplay(first, adobe) && converted; });
    if (converted)
        ReportRatio("icc_pass_over_decode", pass / decode);
}
