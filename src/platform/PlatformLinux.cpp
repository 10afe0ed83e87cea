// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QTextStream>
#include <QUrl>

#include <cstdlib>
#include <memory>

#include <cerrno>
#include <vector>

#include <dirent.h>
#include <langinfo.h>
#include <unistd.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace {

// Desktop tools answer at once; a hung one must not hold up the program's start.
constexpr int ToolTimeoutMs = 2000;

QString runTool(const QString &program, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {};
    QProcess process;
    process.start(path, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(ToolTimeoutMs);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Desktop settings give either a plain path or a file: URL, sometimes quoted.
QString toLocalPath(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'\'' || value.front() == u'"')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    if (value.startsWith(QLatin1String("file:")))
        value = QUrl(value).toLocalFile();
    return value;
}

QString gnomeWallpaper()
{
    return toLocalPath(
        runTool(QStringLiteral("gsettings"),
                {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.background"),
                 QStringLiteral("picture-uri")}));
}

QString kdeWallpaper()
{
    const QString config =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc"));
    QFile file(config);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inImageGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'['))
            inImageGroup = line.contains(QLatin1String("[Wallpaper][org.kde.image][General]"));
        else if (inImageGroup && line.startsWith(QLatin1String("Image=")))
            return toLocalPath(line.mid(6));
    }
    return {};
}

QString xfceWallpaper()
{
    const QString channel = QStringLiteral("xfce4-desktop");
    const QString list = runTool(QStringLiteral("xfconf-query"),
                                 {QStringLiteral("-c"), channel, QStringLiteral("-l")});
    for (const QString &property : list.split(u'\n')) {
        if (property.trimmed().endsWith(QLatin1String("/last-image")))
            return toLocalPath(
                runTool(QStringLiteral("xfconf-query"),
                        {QStringLiteral("-c"), channel, QStringLiteral("-p"), property.trimmed()}));
    }
    return {};
}

} // namespace

QStringList Subdirectories(const QString &directory)
{
    QStringList names;
    const QByteArray path = QFile::encodeName(directory);
    DIR *dir = opendir(path.constData());
    if (!dir)
        return names;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // Links to folders count as folders; some file systems report no types.
            struct stat info;
            const QByteArray full = path + '/' + entry->d_name;
            isDir = stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (isDir)
            names.append(QFile::decodeName(entry->d_name));
    }
    closedir(dir);
    return names;
}

namespace {

// The freedesktop.org screen saver service, null when the session bus or the service is
// absent (a bare X server, a test machine).
std::unique_ptr<QDBusInterface> screenSaverService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    auto service =
        std::make_unique<QDBusInterface>(QStringLiteral("org.freedesktop.ScreenSaver"),
                                         QStringLiteral("/org/freedesktop/ScreenSaver"),
                                         QStringLiteral("org.freedesktop.ScreenSaver"), bus);
    return service->isValid() ? std::move(service) : nullptr;
}

} // namespace

qint64 CopyFileRange(int fromFd, int toFd, qint64 maxBytes)
{
    const ssize_t copied =
        copy_file_range(fromFd, nullptr, toFd, nullptr, static_cast<size_t>(maxBytes), 0);
    if (copied >= 0
        || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP))
        return copied;
    // File systems that cannot copy between each other: through a buffer.
    std::vector<char> buffer(static_cast<size_t>(std::min<qint64>(maxBytes, 1 << 20)));
    const ssize_t got = read(fromFd, buffer.data(), buffer.size());
    if (got <= 0)
        return got;
    for (ssize_t done = 0; done < got;) {
        const ssize_t put = write(toFd, buffer.data() + done, static_cast<size_t>(got - done));
        if (put < 0)
            return -1;
        done += put;
    }
    return got;
}

bool SetDesktopWallpaper(const QString &file)
{
    if (!QFileInfo(file).isFile())
        return false;
    const QString uri = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString();
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP").toUpper();
    QProcess tool;
    if (desktop.contains("GNOME") || desktop.contains("UNITY") || desktop.contains("CINNAMON")) {
        tool.start(QStringLiteral("gsettings"),
                   {"set", "org.gnome.desktop.background", "picture-uri", uri});
    } else if (desktop.contains("XFCE")) {
        tool.start(QStringLiteral("xfconf-query"),
                   {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/last-image",
                    "-s", QFileInfo(file).absoluteFilePath()});
    } else {
        return false;
    }
    return tool.waitForFinished(5000) && tool.exitStatus() == QProcess::NormalExit
           && tool.exitCode() == 0;
}

quint32 InhibitScreenSaver(const QString &reason)
{
    const auto service = screenSaverService();
    if (!service)
        return 0;
    const QDBusReply<quint32> cookie =
        service->call(QStringLiteral("Inhibit"), QStringLiteral("korvid"), reason);
    return cookie.isValid() ? cookie.value() : 0;
}

void ReleaseScreenSaver(quint32 cookie)
{
    if (cookie == 0)
        return;
    if (const auto service = screenSaverService())
        service->call(QStringLiteral("UnInhibit"), cookie);
}

bool DriveReady(const QString &root)
{
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return false;
    const QStorageInfo volume(root);
    return volume.isValid() && volume.isReady() && QDir(root).isReadable();
}

QString DesktopWallpaper()
{
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP").toUpper();
    QString wallpaper;
    if (desktop.contains("KDE"))
        wallpaper = kdeWallpaper();
    else if (desktop.contains("XFCE"))
        wallpaper = xfceWallpaper();
    else if (!desktop.isEmpty())
        wallpaper = gnomeWallpaper();
    return wallpaper;
}

void *AllocateLargeBuffer(std::size_t bytes)
{
    constexpr std::size_t HugePage = std::size_t(2) << 20;
    if (bytes < 2 * HugePage)
        return std::malloc(bytes);
    const std::size_t rounded = (bytes + HugePage - 1) & ~(HugePage - 1);
    void *buffer = std::aligned_alloc(HugePage, rounded);
    // Only a hint: without transparent huge pages the memory works all the same.
    if (buffer)
        madvise(buffer, rounded, MADV_HUGEPAGE);
    return buffer;
}

void FreeLargeBuffer(void *buffer)
{
    std::free(buffer);
}

QString DecodeLegacyText(const QByteArray &bytes)
{
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    // A UTF-8 or plain ASCII locale names no single-byte encoding of its own.
    if (!codeset.isEmpty() && !codeset.contains("UTF") && codeset != "ANSI_X3.4-1968") {
        QStringDecoder decoder(codeset.constData());
        if (decoder.isValid()) {
            const QString text = decoder(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    return QString::fromLatin1(bytes);
}
