// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// On a Wayland desktop (a real compositor: weston, headless) no program can hold the
// keyboard: the options say so beside "Password Protect", and a protected show says so
// when it starts, then runs with its stopping still guarded by the password.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <unistd.h>

#include "app/FullScrn.h"
#include "common/MainFormFixture.h"
#include "common/RecordMessages.h"
#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "options/CheckPW.h"
#include "options/OptionsDlg.h"
#include "options/Scramble.h"
#include "platform/InputLock.h"

namespace {

// A headless weston for this test process; empty why() when it runs.
class Compositor
{
public:
    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()) {
            m_why = QStringLiteral("weston is not installed (tools/install-deps.sh installs it)");
            return false;
        }
        m_runtime = QDir::temp().filePath(QStringLiteral("korvid-wayland-%1").arg(getpid()));
        QDir().mkpath(m_runtime);
        QFile::setPermissions(m_runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString socket = QStringLiteral("korvid-%1").arg(getpid());
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.setStandardOutputFile(QDir(m_runtime).filePath(QStringLiteral("weston.log")));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
        m_weston.setProcessEnvironment(environment);
        m_weston.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_weston.start(QStringLiteral("weston"),
                       {QStringLiteral("--backend=headless-backend.so"),
                        QStringLiteral("--socket=") + socket, QStringLiteral("--idle-time=0")});
        const QString path = QDir(m_runtime).filePath(socket);
        bool ready = m_weston.waitForStarted(10000);
        for (int waited = 0; ready && !QFile::exists(path); waited += 50) {
            ready = waited < 20000 && m_weston.state() == QProcess::Running;
            usleep(50000);
        }
        if (!ready) {
            m_why = QStringLiteral("weston did not start");
            return false;
        }
        qputenv("XDG_RUNTIME_DIR", m_runtime.toLocal8Bit());
        qputenv("WAYLAND_DISPLAY", socket.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "wayland");
        qunsetenv("DISPLAY");
        return true;
    }
    ~Compositor()
    {
        m_weston.kill();
        m_weston.waitForFinished(5000);
        if (!m_runtime.isEmpty())
            QDir(m_runtime).removeRecursively();
    }
    QString why() const { return m_why; }

private:
    QProcess m_weston;
    QString m_runtime;
    QString m_why;
};

Compositor &TheCompositor()
{
    static Compositor compositor;
    return compositor;
}

} // namespace

class TestKioskWayland : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!TheCompositor().why().isEmpty())
            QSKIP(qPrintable(TheCompositor().why()));
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            QSKIP("Qt's Wayland platform (qt6-wayland) is not installed");
        IsolateHome();
    }

    void init()
    {
        m_messages.clear();
        RecordMessages(m_messages);
    }
    void cleanup() { SetMessageDlgScript({}); }

    void optionsSayTheSessionCannotLock()
    {
        QVERIFY(InputLock::Unavailable().contains(QLatin1String("Wayland")));
        TOptionsSettings settings;
        settings.FullScreen = true;
        TOptionsNotebookDlg dialog(settings);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTabBar *tabs = dialog.OptionsTNB->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("VorodOdir"));
        QVERIFY(dialog.PasswordNotice->isVisible());
        // Shown whole, not cut off by the page.
        const QLabel *notice = dialog.PasswordNotice;
        QVERIFY(notice->height() >= notice->sizeHint().height());
        QVERIFY(notice->width() >= notice->sizeHint().width());
        QVERIFY(dialog.PasswordGB->contentsRect().contains(notice->geometry()));
        QVERIFY(dialog.PasswordNotice->text().simplified().contains(QLatin1String("cannot lock")));
        // Beside the box it is about.
        QCOMPARE(dialog.PasswordNotice->parentWidget(), dialog.PasswordCB->parentWidget());
    }

    void protectedShowSaysItRunsWithoutTheLock()
    {
        TestDir dir;
        for (const char *name : {"a.png", "b.png"})
            writePicture(dir, QLatin1String(name));
        auto form = shownForm({dir.path()});
        form->FullScreen = true;
        form->PasswordProtect = true;
        form->Password = ScramblePassword(QStringLiteral("owner"));
        form->SlideShowStart();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.front().text.startsWith(
            QLatin1String("This session cannot lock the screen: the Wayland desktop")));
        QVERIFY(form->ShowRunning);
        TFullScrn1 *view = form->FullScrn1;
        QTRY_VERIFY(view->isVisible());
        QVERIFY(view->Locked());
        QVERIFY(!view->Holding());

        // Stopping still asks for the password.
        QTimer::singleShot(0, form.get(), [&form] {
            QTRY_VERIFY(form->CheckPWDlg->isVisible());
            form->CheckPWDlg->PasswordEB->setText(QStringLiteral("wrong"));
            form->CheckPWDlg->OKBtn->click();
        });
        QTest::keyClick(view, Qt::Key_Q);
        QVERIFY(form->ShowRunning);
        QTimer::singleShot(0, form.get(), [&form] {
            QTRY_VERIFY(form->CheckPWDlg->isVisible());
            form->CheckPWDlg->PasswordEB->setText(QStringLiteral("owner"));
            form->CheckPWDlg->OKBtn->click();
        });
        QTest::keyClick(view, Qt::Key_Q);
        QVERIFY(!form->ShowRunning);
    }

private:
    QList<MessageDlgCall> m_messages;
};

int main(int argc, char **argv)
{
    if (!TheCompositor().start()) {
        std::fprintf(stderr, "no Wayland compositor: %s\n", qPrintable(TheCompositor().why()));
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        TestKioskWayland test;
        result = QTest::qExec(&test, argc, argv);
    }
    return result;
}

#include "tst_kioskwayland.moc"
