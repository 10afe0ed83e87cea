// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The screen's colour profile as colord gives it for the display device, on a private
// session bus with a stand-in colord; nothing where colord is absent.
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QTest>
#include <QThread>

#include "common/PrivateBus.h"
#include "common/TestDir.h"
#include "platform/Platform.h"

namespace {

const QString DevicePath = QStringLiteral("/org/freedesktop/ColorManager/devices/xrandr_1");
const QString ProfilePath = QStringLiteral("/org/freedesktop/ColorManager/profiles/icc_1");

} // namespace

class FakeColorManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager")
public Q_SLOTS:
    QList<QDBusObjectPath> GetDevicesByKind(const QString &kind)
    {
        if (kind != QLatin1String("display"))
            return {};
        return {QDBusObjectPath(DevicePath)};
    }
};

class FakeDevice : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager.Device")
    Q_PROPERTY(QList<QDBusObjectPath> Profiles READ profiles)
public:
    QList<QDBusObjectPath> profiles() const { return {QDBusObjectPath(ProfilePath)}; }
};

class FakeProfile : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager.Profile")
    Q_PROPERTY(QString Filename READ filename)
public:
    QString file;
    QString filename() const { return file; }
};

class TestScreenProfile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        IsolateHome();
        if (!PrivateBus::available())
            QSKIP("dbus-daemon is not installed");
        qDBusRegisterMetaType<QList<QDBusObjectPath>>();
        m_address = m_bus.start();
        QVERIFY(!m_address.isEmpty());
        // No system bus: only the stand-in can answer.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/korvid-test-bus");
    }

    void cleanupTestCase()
    {
        m_serviceThread.quit();
        m_serviceThread.wait();
    }

    void absentColordGivesNone() { QCOMPARE(ScreenColorProfile(), QByteArray()); }

    // The display device's first profile, read from the file colord names.
    void colordsProfileForTheDisplay()
    {
        TestDir dir;
        const QByteArray bytes("a stand-in for an ICC profile's bytes");
        m_profile.file = dir.write(QStringLiteral("screen.icc"), bytes);
        // The stand-in answers on its own connection and thread, as colord would.
        QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("fake"));
        QVERIFY(service.isConnected());
        for (QObject *object : std::initializer_list<QObject *>{&m_manager, &m_device, &m_profile})
            object->moveToThread(&m_serviceThread);
        m_serviceThread.start();
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/ColorManager"), &m_manager,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(
            service.registerObject(DevicePath, &m_device, QDBusConnection::ExportAllProperties));
        QVERIFY(
            service.registerObject(ProfilePath, &m_profile, QDBusConnection::ExportAllProperties));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.ColorManager")));
        QCOMPARE(ScreenColorProfile(), bytes);
    }

private:
    PrivateBus m_bus;
    QString m_address;
    QThread m_serviceThread;
    FakeColorManager m_manager;
    FakeDevice m_device;
    FakeProfile m_profile;
};

QTEST_MAIN(TestScreenProfile)
#include "tst_screenprofile.moc"
