// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The screen saver is held off through the desktop's D-Bus service during a full-screen
// show, and nothing happens where the service is absent. A private bus and a stand-in
// service make both cases real.
#include <QDBusConnection>
#include <QTest>
#include <QThread>

#include "app/FullScrn.h"
#include "common/MainFormFixture.h"
#include "common/PrivateBus.h"
#include "common/TestDir.h"
#include "platform/Platform.h"
#include "toolkit/TFileListBox.h"

class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QAtomicInt inhibited;
    QAtomicInt released;
    QString application;

public Q_SLOTS:
    uint Inhibit(const QString &applicationName, const QString &)
    {
        application = applicationName;
        inhibited.fetchAndAddOrdered(1);
        return 4711;
    }
    void UnInhibit(uint cookie)
    {
        if (cookie == 4711)
            released.fetchAndAddOrdered(1);
    }
};

class TestScreenSaver : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        IsolateHome();
        if (!PrivateBus::available())
            QSKIP("dbus-daemon is not installed");
        m_address = m_bus.start();
        QVERIFY(!m_address.isEmpty());
    }

    void cleanupTestCase()
    {
        m_serviceThread.quit();
        m_serviceThread.wait();
    }

    void absentServiceIsSkippedQuietly()
    {
        QCOMPARE(InhibitScreenSaver(QStringLiteral("test")), 0u);
        ReleaseScreenSaver(0);
    }

    void fullScreenShowHoldsTheScreenSaverOff()
    {
        // The stand-in answers on its own connection and thread, as another program would.
        QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("fake"));
        QVERIFY(service.isConnected());
        m_fake.moveToThread(&m_serviceThread);
        m_serviceThread.start();
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &m_fake,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));

        const quint32 cookie = InhibitScreenSaver(QStringLiteral("test"));
        QCOMPARE(cookie, 4711u);
        QCOMPARE(m_fake.application, QStringLiteral("korvid"));
        ReleaseScreenSaver(cookie);
        QCOMPARE(m_fake.released.loadAcquire(), 1);

        TestDir dir;
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("a.png"))));
        auto form = shownForm({dir.path()});
        QTRY_VERIFY(!form->FileListBox1->isLoading());
        form->FullScreen = true;
        form->SlideShowStart();
        QTRY_VERIFY(form->FullScrn1->isVisible());
        QCOMPARE(m_fake.inhibited.loadAcquire(), 2);
        form->SlideShowStop();
        QCOMPARE(m_fake.released.loadAcquire(), 2);
        // A show in the window does not touch the screen saver.
        form->FullScreen = false;
        form->SlideShowStart();
        form->SlideShowStop();
        QCOMPARE(m_fake.inhibited.loadAcquire(), 2);
    }

private:
    PrivateBus m_bus;
    QString m_address;
    QThread m_serviceThread;
    FakeScreenSaver m_fake;
};

QTEST_MAIN(TestScreenSaver)
#include "tst_screensaver.moc"
