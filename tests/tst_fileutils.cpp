// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file actions on real files: copies that never leave half a file, moves that never
// lose the source, questions before replacing, deletion to a real trash folder.
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <csignal>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/statfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TestDir.h"
#include "files/FileOperation.h"
#include "files/FileUtils32.h"
#include "files/Newren.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"

namespace {

QByteArray pattern(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 4096) & 0xFF);
    return bytes;
}

// Names in a folder, hidden ones included: a left-over temporary file shows here.
QStringList everything(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// How many of the file's pages in memory still wait to be written to the disk; -1 when
// the machine does not let a test look (it takes root for page frames and their flags).
int dirtyPages(const QString &path)
{
    QFile file(path);
    QFile pagemap(QStringLiteral("/proc/self/pagemap"));
    QFile kpageflags(QStringLiteral("/proc/kpageflags"));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0
        || !pagemap.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
        || !kpageflags.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    const qint64 size = file.size();
    const auto *map = static_cast<const volatile char *>(
        mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, file.handle(), 0));
    if (map == MAP_FAILED)
        return -1;
    const auto unmap = qScopeGuard([&] { munmap(const_cast<char *>(map), size_t(size)); });
    const qint64 page = sysconf(_SC_PAGESIZE);
    constexpr quint64 Present = quint64(1) << 63;
    constexpr quint64 FrameMask = (quint64(1) << 55) - 1;
    constexpr quint64 Dirty = quint64(1) << 4;
    int dirty = 0;
    for (qint64 offset = 0; offset < size; offset += page) {
        (void)map[offset]; // maps the cached page, so its frame can be looked up
        quint64 entry = 0;
        const auto address = reinterpret_cast<quintptr>(map + offset);
        if (!pagemap.seek(qint64(address / quintptr(page)) * 8)
            || pagemap.read(reinterpret_cast<char *>(&entry), 8) != 8)
            return -1;
        if (!(entry & Present))
            continue;
        const quint64 frame = entry & FrameMask;
        quint64 flags = 0;
        if (frame == 0 || !kpageflags.seek(qint64(frame) * 8)
            || kpageflags.read(reinterpret_cast<char *>(&flags), 8) != 8)
            return -1;
        dirty += (flags & Dirty) ? 1 : 0;
    }
    return dirty;
}

} // namespace

class TestFileUtils : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_home = IsolateHome(); }

    void init()
    {
        m_messages.clear();
        m_answers.clear();
        SetMessageDlgScript([this](const MessageDlgCall &call) {
            m_messages.append(call);
            return m_answers.isEmpty() ? QMessageBox::Yes : m_answers.takeFirst();
        });
    }

    void cleanup() { SetMessageDlgScript({}); }

    void copyIsWholeOrNothing()
    {
        TestDir dir;
        const QByteArray data = pattern(3 << 20);
        const QString source = dir.write(QStringLiteral("src/big.bin"), data);
        QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QFile touch(source);
        QVERIFY(touch.open(QIODevice::ReadWrite));
        const QDateTime stamp = QDateTime::currentDateTime().addDays(-3);
        QVERIFY(touch.setFileTime(stamp, QFileDevice::FileModificationTime));
        touch.close();
        QDir().mkpath(dir.filePath(QStringLiteral("dst")));

        std::atomic<qint64> done{0};
        std::atomic<bool> cancel{false};
        QString error;
        QVERIFY2(CopyFileSafely(source, dir.filePath("dst/big.bin"), done, cancel, error),
                 qPrintable(error));
        QCOMPARE(dir.read(QStringLiteral("dst/big.bin")), data);
        QCOMPARE(done.load(), qint64(data.size()));
        QCOMPARE(QFileInfo(dir.filePath("dst/big.bin")).lastModified().toSecsSinceEpoch(),
                 stamp.toSecsSinceEpoch());
        QCOMPARE(QFile::permissions(dir.filePath("dst/big.bin")), QFile::permissions(source));

        // Cancelled: the old target stays as it was and nothing else is left behind.
        dir.write(QStringLiteral("dst/old.bin"), "old contents");
        cancel = true;
        QVERIFY(!CopyFileSafely(source, dir.filePath("dst/old.bin"), done, cancel, error));
        QCOMPARE(dir.read(QStringLiteral("dst/old.bin")), QByteArray("old contents"));
        QCOMPARE(everything(dir.filePath("dst")), QStringList({"big.bin", "old.bin"}));

        // A vanished source is a clear message.
        cancel = false;
        QVERIFY(!CopyFileSafely(dir.filePath("src/none.bin"), dir.filePath("dst/none.bin"), done,
                                cancel, error));
        QVERIFY(error.contains(QStringLiteral("none.bin")));
        QVERIFY(!QFileInfo::exists(dir.filePath("dst/none.bin")));
    }

    void fullDiskLeavesNoPartialFile()
    {
        TestDir dir;
        const QString source = dir.write(QStringLiteral("big.bin"), pattern(4 << 20));
        dir.write(QStringLiteral("out/big.bin"), "previous");
        // A file-size limit makes the disk "full" after one megabyte for this process.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 1 << 20;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        std::atomic<qint64> done{0};
        std::atomic<bool> cancel{false};
        QString error;
        const bool ok = CopyFileSafely(source, dir.filePath("out/big.bin"), done, cancel, error);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!ok);
        QVERIFY2(error.contains(QStringLiteral("large")), qPrintable(error));
        QCOMPARE(dir.read(QStringLiteral("out/big.bin")), QByteArray("previous"));
        QCOMPARE(everything(dir.filePath("out")), QStringList({"big.bin"}));
        QCOMPARE(QFileInfo(source).size(), qint64(4 << 20));
    }

    void cancellingMidway()
    {
        // The first source is a pipe the test feeds by hand, so the cancel lands midway
        // through it whatever the speed of the disk.
        TestDir dir;
        const QString stream = dir.filePath(QStringLiteral("stream.bin"));
        QCOMPARE(mkfifo(QFile::encodeName(stream).constData(), 0600), 0);
        const QString later = dir.write(QStringLiteral("later.bin"), pattern(1 << 20));
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        TFileOperation operation(foCopy, {{stream, dir.filePath("out/stream.bin"), false},
                                          {later, dir.filePath("out/later.bin"), false}});
        QThread *worker = QThread::create([&operation] { operation.Run(); });
        worker->start();
        QFile feed(stream);
        QVERIFY(feed.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block = pattern(256 << 10);
        QCOMPARE(feed.write(block), qint64(block.size()));
        QTRY_VERIFY_WITH_TIMEOUT(operation.Done >= block.size(), 20000);
        operation.Cancel = true;
        // Wakes a worker waiting for data; it may have stopped reading already.
        std::signal(SIGPIPE, SIG_IGN);
        feed.write(block);
        feed.close();
        worker->wait();
        delete worker;
        QVERIFY(operation.Cancelled());
        QVERIFY(operation.Errors.isEmpty());
        // Nothing arrived: no half file, no temporary file, and the next file not started.
        QCOMPARE(everything(dir.filePath("out")), QStringList());
    }

    void movesKeepTheSource()
    {
        TestDir dir;
        const QString a = dir.write(QStringLiteral("a.bin"), pattern(100000));
        QDir().mkpath(dir.filePath(QStringLiteral("to")));
        TFileOperation within(foMove, {{a, dir.filePath("to/a.bin"), false}});
        within.Run();
        QVERIFY(within.Errors.isEmpty());
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(dir.read(QStringLiteral("to/a.bin")), pattern(100000));

        // Between volumes: copied, compared, then removed.
        QTemporaryDir other(QStringLiteral("/dev/shm/korvid-test-XXXXXX"));
        struct stat here
        {
        }, there{};
        if (!other.isValid() || stat(qPrintable(dir.path()), &here) != 0
            || stat(qPrintable(other.path()), &there) != 0 || here.st_dev == there.st_dev)
            QSKIP("no second volume here");
        const QString b = dir.write(QStringLiteral("b.bin"), pattern(300000));
        TFileOperation across(foMove,
                              {{b, other.filePath("b.bin"), false},
                               {dir.filePath("gone.bin"), other.filePath("gone.bin"), false}});
        across.Run();
        QVERIFY(!QFileInfo::exists(b));
        QCOMPARE(TestDir::readFile(other.filePath("b.bin")), pattern(300000));
        QCOMPARE(across.Errors.size(), 1);
        QVERIFY(across.Errors.first().contains(QStringLiteral("gone.bin")));
    }

    // A move from another volume removes its source only once the copy is on the disk:
    // no page of the copy still waits in memory when the move is done. A plain copy may
    // leave them waiting, as cp does; it shows that the probe sees them here.
    void moveAcrossVolumesWritesTheCopyFirst()
    {
        TestDir dir;
        QTemporaryDir other(QStringLiteral("/dev/shm/korvid-test-XXXXXX"));
        struct statfs disk
        {};
        constexpr long TmpfsMagic = 0x01021994;
        if (!other.isValid() || statfs(qPrintable(dir.path()), &disk) != 0
            || long(disk.f_type) == TmpfsMagic)
            QSKIP("needs a disk-backed test folder and /dev/shm as a second volume");
        const QByteArray data = pattern(8 << 20);
        const QString copied = other.filePath(QStringLiteral("copied.bin"));
        const QString moved = other.filePath(QStringLiteral("moved.bin"));
        TestDir::writeFile(copied, data);
        TestDir::writeFile(moved, data);

        TFileOperation copy(foCopy, {{copied, dir.filePath(QStringLiteral("copied.bin")), false}});
        copy.Run();
        QVERIFY(copy.Errors.isEmpty());
        const int waiting = dirtyPages(dir.filePath(QStringLiteral("copied.bin")));
        if (waiting <= 0)
            QSKIP("this machine does not show which pages wait for the disk (needs root)");

        TFileOperation move(foMove, {{moved, dir.filePath(QStringLiteral("moved.bin")), false}});
        move.Run();
        QVERIFY(move.Errors.isEmpty());
        QVERIFY(!QFileInfo::exists(moved));
        QCOMPARE(dirtyPages(dir.filePath(QStringLiteral("moved.bin"))), 0);
        QCOMPARE(dir.read(QStringLiteral("moved.bin")), data);
    }

    void readOnlyTargetFolder()
    {
        TestDir dir;
        const QString source = dir.write(QStringLiteral("keep.bin"), pattern(50000));
        const QString target = dir.filePath(QStringLiteral("locked"));
        QDir().mkpath(target);
        // Permissions do not bind root; a read-only file system does.
        bool mounted = false;
        if (geteuid() == 0) {
            mounted = QProcess::execute(QStringLiteral("mount"),
                                        {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                         QStringLiteral("-o"), QStringLiteral("ro,size=1m"),
                                         QStringLiteral("tmpfs"), target})
                      == 0;
            if (!mounted)
                QSKIP("running as root without a way to make a read-only folder");
        } else {
            QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner);
        }
        const auto restore = qScopeGuard([&] {
            if (mounted)
                QProcess::execute(QStringLiteral("umount"), {target});
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        QStringList captions;
        SetMessageDlgScript([&captions](const MessageDlgCall &call) {
            captions.append(call.caption);
            return QMessageBox::Ok;
        });
        TFileUtils32 utils;
        QVERIFY(!utils.FileAction({source}, target, fuCopy, nullptr, nullptr));
        QVERIFY(!utils.FileAction({source}, target, fuMove, nullptr, nullptr));
        QCOMPARE(captions, QStringList({"Error Copying File", "Error Moving File"}));
        QCOMPARE(dir.read(QStringLiteral("keep.bin")), pattern(50000));
        QVERIFY(everything(target).isEmpty());
    }

    void replaceQuestionsWhateverTheSettings()
    {
        TestDir dir;
        const QString one = dir.write(QStringLiteral("src/one.txt"), "new one");
        const QString two = dir.write(QStringLiteral("src/two.txt"), "new two");
        const QString three = dir.write(QStringLiteral("src/three.txt"), "new three");
        dir.write(QStringLiteral("dst/one.txt"), "old one");
        dir.write(QStringLiteral("dst/two.txt"), "old two");
        TFileUtils32 utils;
        utils.Init();
        utils.ConfirmCopy = false;
        utils.ConfirmReplace = false;
        TFileListBox target;
        target.setDirectory(dir.filePath(QStringLiteral("dst")));

        m_answers = {QMessageBox::No, QMessageBox::Yes};
        QVERIFY(utils.FileAction({one, two, three}, dir.filePath("dst"), fuCopy, &target, nullptr));
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages.first().caption, QStringLiteral("Confirm File Replace"));
        QCOMPARE(dir.read(QStringLiteral("dst/one.txt")), QByteArray("old one"));
        QCOMPARE(dir.read(QStringLiteral("dst/two.txt")), QByteArray("new two"));
        QCOMPARE(dir.read(QStringLiteral("dst/three.txt")), QByteArray("new three"));
        QTRY_COMPARE(target.count(), 3);

        // Yes to all asks once; Cancel does nothing at all.
        m_messages.clear();
        m_answers = {QMessageBox::YesToAll};
        dir.write(QStringLiteral("src/one.txt"), "newer one");
        dir.write(QStringLiteral("src/two.txt"), "newer two");
        QVERIFY(utils.ShellCopy({one, two}, dir.filePath("dst")));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(dir.read(QStringLiteral("dst/one.txt")), QByteArray("newer one"));
        m_answers = {QMessageBox::Cancel};
        dir.write(QStringLiteral("src/two.txt"), "newest two");
        QVERIFY(!utils.ShellMove({two}, dir.filePath("dst")));
        QCOMPARE(dir.read(QStringLiteral("dst/two.txt")), QByteArray("newer two"));
        QVERIFY(QFileInfo::exists(two));
    }

    void deletionGoesToTheTrash()
    {
        TestDir dir;
        const QString a = dir.write(QStringLiteral("trash-me-a.png"));
        const QString b = dir.write(QStringLiteral("trash-me-b.png"));
        TFileUtils32 utils;
        utils.ConfirmDelete = true;
        m_answers = {QMessageBox::No};
        utils.FileAction({a}, QString(), fuDelete, nullptr, nullptr);
        QVERIFY(QFileInfo::exists(a));
        QCOMPARE(m_messages.last().caption, QStringLiteral("Confirm Delete"));
        utils.FileAction({a}, QString(), fuDelete, nullptr, nullptr);
        QVERIFY(!QFileInfo::exists(a));
        QVERIFY(InTrash(m_home, QStringLiteral("trash-me-a.png")));

        // ConfirmDelete off: no question at all.
        utils.ConfirmDelete = false;
        const qsizetype asked = m_messages.size();
        utils.FileAction({b}, QString(), fuDelete, nullptr, nullptr);
        QCOMPARE(m_messages.size(), asked);
        QVERIFY(InTrash(m_home, QStringLiteral("trash-me-b.png")));
    }

    // What another program reads of the trash: the original path of each entry, escaped as
    // a URL path, so names with spaces, "%", other letters or a line break come back whole.
    void trashEntriesReadAsTheDesktopReadsThem()
    {
        TestDir dir;
        const QStringList names = {QStringLiteral("sp ace \u00fc%.jpg"), QStringLiteral("%41.png"),
                                   QStringLiteral("line\nbreak.png"), QStringLiteral("twice.png")};
        QStringList originals;
        TFileUtils32 utils;
        utils.ConfirmDelete = false;
        // The last name twice: two entries, each with its own name in the trash.
        for (const QString &name : names + QStringList{names.last()}) {
            originals.append(dir.write(name));
            utils.FileAction({originals.last()}, QString(), fuDelete, nullptr, nullptr);
            QVERIFY2(!QFileInfo::exists(originals.last()), qPrintable(name));
        }
        QStringList restored;
        QDirIterator it(m_home, {QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile info(it.next());
            QVERIFY(info.open(QIODevice::ReadOnly));
            const QList<QByteArray> lines = info.readAll().split('\n');
            QCOMPARE(lines.value(0), QByteArray("[Trash Info]"));
            const QByteArray path = lines.value(1).mid(5);
            QVERIFY(lines.value(1).startsWith("Path="));
            // Nothing outside a URL path's letters is written as it is.
            QVERIFY2(!path.contains(' ') && !path.contains('%' + QByteArray("41.png")),
                     path.constData());
            QVERIFY(QDateTime::fromString(QString::fromLatin1(lines.value(2).mid(13)), Qt::ISODate)
                        .isValid());
            const QString original = QUrl::fromPercentEncoding(path);
            if (original.startsWith(dir.path()))
                restored.append(original);
        }
        restored.sort();
        originals.sort();
        QCOMPARE(restored, originals);

        // The desktop's own reader (gvfs's trash, on a session bus of its own), where this
        // machine has one. It writes each original path with bytes outside printable ASCII
        // as \xNN.
        QProcess gio;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        // Where the trash of this test's home lies (the toolkit's test mode moves it).
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        gio.setProcessEnvironment(environment);
        const QStringList list{QStringLiteral("gio"), QStringLiteral("trash"),
                               QStringLiteral("--list")};
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty())
            gio.start(list.first(), list.mid(1));
        else
            gio.start(QStringLiteral("dbus-run-session"), QStringList{QStringLiteral("--")} + list);
        if (!gio.waitForFinished(20000) || gio.exitCode() != 0) {
            qInfo("gio trash --list is not available here (%s); read the entries as it does",
                  gio.readAllStandardError().trimmed().constData());
            return;
        }
        QStringList listed;
        for (const QByteArray &line : gio.readAllStandardOutput().split('\n')) {
            const QByteArray shown = line.mid(line.indexOf('\t') + 1);
            QByteArray bytes;
            for (qsizetype i = 0; i < shown.size(); ++i) {
                if (shown.at(i) == '\\' && i + 3 < shown.size() && shown.at(i + 1) == 'x') {
                    bytes.append(char(shown.mid(i + 2, 2).toInt(nullptr, 16)));
                    i += 3;
                } else {
                    bytes.append(shown.at(i));
                }
            }
            const QString original = QString::fromUtf8(bytes);
            if (original.startsWith(dir.path()))
                listed.append(original);
        }
        listed.sort();
        QCOMPARE(listed, originals);
    }

    void deletingTheShownDirectory()
    {
        TestDir dir;
        dir.write(QStringLiteral("doomed-dir/inside.png"));
        const QString doomed = dir.filePath(QStringLiteral("doomed-dir"));
        TDirectoryListBox list;
        list.setDirectory(doomed);
        TFileUtils32 utils;
        utils.ConfirmDelete = true;

        // Declined: the list went up and comes back.
        m_answers = {QMessageBox::No};
        QVERIFY(!utils.FileAction({}, doomed, fuDeleteDir, nullptr, &list));
        QCOMPARE(list.Directory(), doomed);
        QVERIFY(QFileInfo(doomed).isDir());

        m_answers = {QMessageBox::Yes};
        QVERIFY(utils.FileAction({}, doomed, fuDeleteDir, nullptr, &list));
        QCOMPARE(list.Directory(), dir.path());
        QVERIFY(!QFileInfo::exists(doomed));
        QVERIFY(InTrash(m_home, QStringLiteral("doomed-dir")));

        // A folder that is not there: the one message of its own.
        QVERIFY(!utils.DeleteDirectory(dir.filePath(QStringLiteral("never"))));
        QCOMPARE(m_messages.last().text, QStringLiteral("Unable to delete directory"));
    }

    void newDirectoryAndRefreshByIndex()
    {
        TestDir dir;
        for (int i = 0; i < 60; ++i)
            dir.write(QStringLiteral("f%1.png").arg(i, 2, 10, QLatin1Char('0')));
        TFileUtils32 utils;
        QTimer::singleShot(0, [] {
            TNewRenDlg *dialog = nullptr;
            QTRY_VERIFY((dialog = qobject_cast<TNewRenDlg *>(QApplication::activeModalWidget())));
            dialog->NewName->setText(QStringLiteral("made"));
            dialog->OKBtn->click();
        });
        QVERIFY(utils.FileAction({}, dir.path(), fuNewDir, nullptr, nullptr));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("made"))).isDir());

        TFileListBox list;
        list.resize(120, 100);
        list.setDirectory(dir.path());
        QTRY_VERIFY(!list.isLoading());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setTopIndex(30);
        const int top = list.TopIndex();
        dir.write(QStringLiteral("a-first.png"));
        TFileUtils32::RefreshList(&list);
        QTRY_VERIFY(!list.isLoading());
        QCOMPARE(list.count(), 61);
        QCOMPARE(list.TopIndex(), top);
    }

private:
    QString m_home;
    QList<MessageDlgCall> m_messages;
    QList<QMessageBox::StandardButton> m_answers;
};

QTEST_MAIN(TestFileUtils)
#include "tst_fileutils.moc"
