// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Small files whose headers claim huge pictures, in every format and bit depth: each is
// refused with the size message before its picture is allocated, in a child process that
// may not take more than 1.5 GiB of address space while the decode limit is 1 GiB.
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/HostileFiles.h"
#include "common/TestDir.h"
#include "display/codec/Codec.h"
#include "display/codec/Decoders.h"

namespace {

using Reader = bool (*)(const QString &, int, int, QImage &, const TProgressCallback &);

QImage decodeIcoFile(const QString &path, QString &error)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    DecodeContext ctx;
    QImage image = DecodeIco(file, ctx);
    error = ctx.error();
    return image;
}

struct Outcome
{
    bool exited = false;
    int status = 0;
    QString error;
    long peakKiB = 0;
};

// Decodes path in a child process held to 1.5 GiB of address space.
Outcome decodeInChild(const QString &path, Reader reader)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const rlimit space{rlim_t(3) << 29, rlim_t(3) << 29};
        setrlimit(RLIMIT_AS, &space);
        SetDecodeLimit(qint64(1) << 30);
        QImage image;
        QString error;
        bool ok = false;
        if (reader) {
            ok = reader(path, 24, 1, image, {});
            error = CodecErrorString();
        } else {
            ok = !decodeIcoFile(path, error).isNull();
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const QByteArray report =
            QByteArray::number(qlonglong(usage.ru_maxrss)) + '\n' + error.toUtf8();
        (void)!write(fds[1], report.constData(), size_t(report.size()));
        _exit(ok ? 2 : 0);
    }
    close(fds[1]);
    QByteArray report;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, got);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    Outcome outcome;
    outcome.exited = WIFEXITED(status);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status);
    outcome.peakKiB = report.left(report.indexOf('\n')).toLong();
    outcome.error = QString::fromUtf8(report.mid(report.indexOf('\n') + 1));
    return outcome;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void refusedBeforeAllocating_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        for (const HostileFile &file : HostileFiles())
            QTest::newRow(file.title.constData()) << file.name << file.bytes;
    }

    void refusedBeforeAllocating()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        TestDir dir;
        const QString path = dir.write(name, bytes);
        check(path, name);
    }

    void tiffRefusedBeforeAllocating_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("samples");
        QTest::addColumn<bool>("tiled");
        QTest::addColumn<bool>("planar");
        QTest::newRow("strips, 1-bit palette") << 1 << 1 << false << false;
        QTest::newRow("strips, 8-bit palette") << 8 << 1 << false << false;
        QTest::newRow("strips, RGB") << 8 << 3 << false << false;
        QTest::newRow("tiles, 8-bit palette") << 8 << 1 << true << false;
        QTest::newRow("tiles, RGB") << 8 << 3 << true << false;
        QTest::newRow("planar RGB") << 8 << 3 << false << true;
    }

    void tiffRefusedBeforeAllocating()
    {
        QFETCH(int, bits);
        QFETCH(int, samples);
        QFETCH(bool, tiled);
        QFETCH(bool, planar);
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.tif"));
        QVERIFY(!hugeTiff(path, bits, samples, tiled, planar).isEmpty());
        QVERIFY(QFileInfo(path).size() < 1000000);
        check(path, QStringLiteral("huge.tif"));
    }

private:
    static void check(const QString &path, const QString &name)
    {
        const QString suffix = QFileInfo(name).suffix();
        Reader reader = nullptr;
        if (suffix == QLatin1String("bmp"))
            reader = ReadBmpFile;
        else if (suffix == QLatin1String("pcx"))
            reader = ReadPcxFile;
        else if (suffix == QLatin1String("gif"))
            reader = ReadGifFile;
        else if (suffix == QLatin1String("png"))
            reader = ReadPngFile;
        else if (suffix == QLatin1String("tif"))
            reader = ReadTifFile;
        const Outcome outcome = decodeInChild(path, reader);
        QVERIFY2(outcome.exited,
                 qPrintable(QStringLiteral("the child died of signal %1").arg(outcome.status)));
        QVERIFY2(outcome.status == 0, "the picture was shown");
        QVERIFY2(outcome.error.contains(QLatin1String("too large")), qPrintable(outcome.error));
        // Refused before the picture was allocated: nothing near its size was touched.
        QVERIFY2(outcome.peakKiB < 64 * 1024,
                 qPrintable(QStringLiteral("peak %1 MiB").arg(outcome.peakKiB / 1024)));
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
