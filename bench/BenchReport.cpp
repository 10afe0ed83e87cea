// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchReport.h"

#include <cstdio>

#include <QStringList>

namespace {

QStringList &missing()
{
    static QStringList list;
    return list;
}

} // namespace

void ReportRatio(const char *name, double value)
{
    std::printf("ratio %s %.3f\n", name, value);
    std::fflush(stdout);
}

void ReportValue(const char *name, double value, int decimals, const char *unit)
{
    std::printf("value %s %.*f%s%s\n", name, decimals, value, *unit ? " " : "", unit);
    std::fflush(stdout);
}

void ReportMissing(const char *name, const QString &reason)
{
    const QString line = QStringLiteral("%1: %2").arg(QLatin1String(name), reason);
    missing().append(line);
    std::fprintf(stderr, "korvid-bench: not measured: %s\n", qPrintable(line));
    std::fflush(stderr);
}

int ReportExitStatus()
{
    if (missing().isEmpty())
        return 0;
    std::fprintf(stderr, "korvid-bench: %d result(s) could not be measured:\n",
                 int(missing().size()));
    for (const QString &line : std::as_const(missing()))
        std::fprintf(stderr, "  %s\n", qPrintable(line));
    return 1;
}
