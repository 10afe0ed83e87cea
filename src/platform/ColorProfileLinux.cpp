// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The screen's colour profile: colord's for the display device, else the one the X root
// window carries (_ICC_PROFILE, set by colour tools of older desktops).
#include "platform/Platform.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFile>

#include <cstdlib>

#include "platform/X11Connection.h"

namespace {

const QString ColorManager = QStringLiteral("org.freedesktop.ColorManager");
// Larger files are not screen profiles.
constexpr qint64 MostProfileBytes = 16 << 20;
// colord answers at once where it runs; a hung bus must not hold up the start.
constexpr int CallMilliseconds = 500;

// A property through org.freedesktop.DBus.Properties, with a short wait.
QVariant propertyOf(QDBusConnection &bus, const QString &path, const QString &interface,
                    const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        ColorManager, path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << interface << name;
    const QDBusMessage reply = bus.call(get, QDBus::Block, CallMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

QByteArray fromColord(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface()
        || !bus.interface()->isServiceRegistered(ColorManager).value())
        return {};
    QDBusInterface manager(ColorManager, QStringLiteral("/org/freedesktop/ColorManager"),
                           ColorManager, bus);
    manager.setTimeout(CallMilliseconds);
    const QDBusReply<QList<QDBusObjectPath>> devices =
        manager.call(QStringLiteral("GetDevicesByKind"), QStringLiteral("display"));
    if (!devices.isValid())
        return {};
    for (const QDBusObjectPath &device : devices.value()) {
        // The device's profiles, its default first.
        const QVariant profiles =
            propertyOf(bus, device.path(), ColorManager + QStringLiteral(".Device"),
                       QStringLiteral("Profiles"));
        const auto paths = qdbus_cast<QList<QDBusObjectPath>>(profiles);
        if (paths.isEmpty())
            continue;
        const QString file =
            propertyOf(bus, paths.first().path(), ColorManager + QStringLiteral(".Profile"),
                       QStringLiteral("Filename"))
                .toString();
        QFile profile(file);
        if (!file.isEmpty() && profile.size() <= MostProfileBytes
            && profile.open(QIODevice::ReadOnly))
            return profile.readAll();
    }
    return {};
}

QByteArray fromRootWindow()
{
    xcb_connection_t *c = X11Connection();
    if (!c)
        return {};
    static const char Name[] = "_ICC_PROFILE";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof Name - 1, Name), nullptr);
    if (!atom)
        return {};
    const xcb_atom_t name = atom->atom;
    std::free(atom);
    if (name == XCB_ATOM_NONE)
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, root, name, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                                uint32_t(MostProfileBytes / 4)),
                               nullptr);
    if (!reply)
        return {};
    QByteArray profile;
    if (reply->format == 8)
        profile = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                             xcb_get_property_value_length(reply));
    std::free(reply);
    return profile;
}

} // namespace

QByteArray ScreenColorProfile()
{
    QByteArray profile = fromColord(QDBusConnection::sessionBus());
    if (profile.isEmpty())
        profile = fromColord(QDBusConnection::systemBus());
    if (profile.isEmpty())
        profile = fromRootWindow();
    return profile;
}
