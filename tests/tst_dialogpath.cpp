// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The bookmark organizer, the fixed dialogs and the options dialog as a user meets them on a
// real X server with a window manager: where they open, which frame buttons they offer and
// what size each options page gives.
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <xcb/xcb.h>

#include "bookmarks/Bmarkorg.h"
#include "bookmarks/Bmedit.h"
#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "common/XSession.h"
#include "options/OptionsDlg.h"
#include "options/SetPW.h"
#include "options/VerifyPW.h"
#include "platform/Platform.h"
#include "printing/PrintConfigDlg.h"

namespace {

// The Motif function bits a window asks its window manager for.
constexpr quint32 MotifMinimize = 1u << 3;
constexpr quint32 MotifMaximize = 1u << 4;

QString xprop(const QWidget *window, const char *property)
{
    QProcess tool;
    tool.start(QStringLiteral("xprop"),
               {QStringLiteral("-id"), QString::number(window->winId()), QLatin1String(property)});
    tool.waitForFinished(10000);
    return QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
}

// The functions of the window's Motif hints; all of them when it sets none.
quint32 motifFunctions(const QWidget *window)
{
    const QString text = xprop(window, "_MOTIF_WM_HINTS");
    const QStringList fields = text.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    if (fields.size() < 2 || !(fields.at(0).trimmed().toUInt(nullptr, 16) & 1u))
        return ~0u;
    return fields.at(1).trimmed().toUInt(nullptr, 16);
}

// What the window manager lets the user do with the window.
QString allowedActions(const QWidget *window)
{
    QString actions;
    const bool known = QTest::qWaitFor(
        [&] {
            actions = xprop(window, "_NET_WM_ALLOWED_ACTIONS");
            return actions.contains(QLatin1String("_NET_WM_ACTION_CLOSE"));
        },
        10000);
    return known ? actions : QString();
}

// What a taskbar or a title-bar button does: asks the window manager to maximise window.
void askToMaximize(const QWidget *window)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const auto atom = [c](const char *name) {
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = atom("_NET_WM_STATE");
    event.data.data32[0] = 1; // add
    event.data.data32[1] = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
    event.data.data32[2] = atom("_NET_WM_STATE_MAXIMIZED_VERT");
    event.data.data32[3] = 1; // from an application
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
    xcb_disconnect(c);
}

void writeSettings(const QByteArray &korvidSection)
{
    TestDir::writeFile(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI")),
                       "[Korvid32]\n" + korvidSection);
}

// The organizer, opened with the keys of the Bookmarks menu and exposed.
TBMarkDlg *showOrganizer(TKorvidForm *form)
{
    TBMarkDlg *organizer = form->BMarkDlg;
    // A key that reaches the menu while it is still opening is lost; the user presses again.
    for (int attempt = 0; attempt < 3 && !organizer->isVisible(); ++attempt) {
        if (ChooseFromMenuForReal(form, form->Bookmarks1, QStringLiteral("alt+b"),
                                  QStringLiteral("o"))
            && QTest::qWaitFor([organizer] { return organizer->isVisible(); }, 5000))
            break;
        if (form->Bookmarks1->isVisible())
            form->Bookmarks1->close();
    }
    return organizer->isVisible() && QTest::qWaitForWindowExposed(organizer) ? organizer : nullptr;
}

// The same, once the window manager has framed it. (On a later showing the toolkit may not
// learn the frame again; the window's inside then tells where it is.)
TBMarkDlg *openOrganizer(TKorvidForm *form)
{
    TBMarkDlg *organizer = showOrganizer(form);
    const bool framed =
        organizer
        && QTest::qWaitFor(
            [organizer] { return organizer->frameGeometry() != organizer->geometry(); }, 10000);
    return framed ? organizer : nullptr;
}

// No minimise or maximise asked for, and a size the user cannot change.
void checkOnlyClose(QWidget *dialog)
{
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const quint32 functions = motifFunctions(dialog);
    QVERIFY2(!(functions & (MotifMinimize | MotifMaximize)),
             qPrintable(dialog->windowTitle() + u' ' + QString::number(functions, 16)));
    const QString actions = allowedActions(dialog);
    QVERIFY(!actions.isEmpty());
    QVERIFY2(!actions.contains(QLatin1String("MAXIMIZE")), qPrintable(actions));
    QVERIFY2(!actions.contains(QLatin1String("RESIZE")), qPrintable(actions));

    // A window manager that minimises it all the same gets it back at once: a modal dialog
    // out of sight would leave the program waiting for ever.
    bool minimised = false;
    QObject watch;
    QObject::connect(
        dialog->windowHandle(), &QWindow::windowStateChanged, &watch,
        [&minimised](Qt::WindowState state) { minimised |= state == Qt::WindowMinimized; });
    // A request that comes while the window manager is still settling the new window can
    // go unanswered; it is asked again.
    for (int attempt = 0; attempt < 10 && !minimised; ++attempt) {
        XDoTool({QStringLiteral("windowminimize"), QString::number(dialog->winId())});
        minimised = QTest::qWaitFor([&minimised] { return minimised; }, 1000);
    }
    QVERIFY(minimised);
    QTRY_VERIFY(dialog->isVisible() && !dialog->isMinimized());
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
}

} // namespace

class TestDialogPath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
    }

    void init() { QFile::remove(QDir(ConfigDir()).filePath(QStringLiteral("KORVID.INI"))); }

    void organizerAtTheDefaultPlace()
    {
        REQUIRE_XSESSION();
        TestDir dir;
        auto form = shownForm({dir.path()});
        TBMarkDlg *organizer = openOrganizer(form.get());
        QVERIFY(organizer);
        // The remembered top left (0, 0 at first) is the frame's: the title bar is on screen.
        QCOMPARE(organizer->frameGeometry().topLeft(), QPoint(0, 0));
        QVERIFY(organizer->geometry().top() > 0);
        const QPoint inside = organizer->geometry().topLeft();

        // A minimise box and a sizeable border, but no maximise.
        QVERIFY(!(motifFunctions(organizer) & MotifMaximize));
        QVERIFY(motifFunctions(organizer) & MotifMinimize);
        // A window manager that offers maximising all the same (openbox reads no Motif
        // functions) maximises it on request; the window goes back to its size.
        if (allowedActions(organizer).contains(QLatin1String("MAXIMIZE"))) {
            const QSize size = organizer->size();
            bool maximised = false;
            QObject watch;
            connect(
                organizer->windowHandle(), &QWindow::windowStateChanged, &watch,
                [&maximised](Qt::WindowState state) { maximised |= state == Qt::WindowMaximized; });
            // A request that comes while the window manager is still settling the new
            // window can go unanswered; it is asked again.
            for (int attempt = 0; attempt < 10 && !maximised; ++attempt) {
                askToMaximize(organizer);
                maximised = QTest::qWaitFor([&maximised] { return maximised; }, 1000);
            }
            QVERIFY(maximised);
            QTRY_VERIFY(!organizer->isMaximized() && organizer->size() == size);
        }

        // Closing keeps the frame's place, and the next opening is there again.
        QTest::keyClick(organizer, Qt::Key_Escape);
        QTRY_VERIFY(!organizer->isVisible());
        QCOMPARE(QPoint(form->BMarkLeft, form->BMarkTop), QPoint(0, 0));
        organizer = showOrganizer(form.get());
        QVERIFY(organizer);
        QTRY_COMPARE(organizer->geometry().topLeft(), inside);
        organizer->close();
    }

    void organizerFromAScreenThatIsGone()
    {
        REQUIRE_XSESSION();
        writeSettings("BML=3000\nBMT=2000\nBMW=273\nBMH=185\n");
        TestDir dir;
        auto form = shownForm({dir.path()});
        TBMarkDlg *organizer = openOrganizer(form.get());
        QVERIFY(organizer);
        const QRect screen = organizer->screen()->availableGeometry();
        QTRY_VERIFY2(screen.contains(organizer->frameGeometry()),
                     qPrintable(QStringLiteral("%1,%2 %3x%4")
                                    .arg(organizer->frameGeometry().x())
                                    .arg(organizer->frameGeometry().y())
                                    .arg(organizer->frameGeometry().width())
                                    .arg(organizer->frameGeometry().height())));
        organizer->close();
    }

    void fixedDialogsOfferOnlyClose()
    {
        REQUIRE_XSESSION();
        TestDir dir;
        auto form = shownForm({dir.path()});
        QVERIFY(InModalForReal<TBMEditDlg>(
            [&form] {
                return ChooseFromMenuForReal(form.get(), form->Bookmarks1, QStringLiteral("alt+b"),
                                             QStringLiteral("a"));
            },
            [](TBMEditDlg *edit) { checkOnlyClose(edit); }));

        TPrintConfigDlg layout(form.get());
        layout.show();
        checkOnlyClose(&layout);
        layout.close();
        TSetPWDlg setPassword(form.get());
        setPassword.show();
        checkOnlyClose(&setPassword);
        setPassword.close();
        TVerifyPWDlg verify(form.get());
        verify.show();
        checkOnlyClose(&verify);
        verify.close();
    }

    // Every page after every other, chosen with the mouse on its tab, gives the dialog the
    // page's own height at the dialog's width.
    void optionsPagesAfterEachOther()
    {
        REQUIRE_XSESSION();
        TestDir dir;
        auto form = shownForm({dir.path()});
        const auto eachPage = [](TOptionsNotebookDlg *dialog) {
            checkOnlyClose(dialog);
            QTabBar *tabs = dialog->OptionsTNB->tabBar();
            const auto choose = [tabs](int page) {
                ClickForReal(tabs, tabs->tabRect(page).center());
                QTRY_COMPARE(tabs->currentIndex(), page);
            };
            const int heights[] = {226, 226, 305, 226};
            for (int from = 0; from < 4; ++from) {
                for (int to = 0; to < 4; ++to) {
                    if (from == to)
                        continue;
                    choose(from);
                    choose(to);
                    // The VorodOdir page's sound-picture box needs more than the designed
                    // width in this desktop's fonts; the others fit it exactly.
                    if (to == 2)
                        QTRY_VERIFY(dialog->height() == heights[to] && dialog->width() >= 440);
                    else
                        QTRY_COMPARE(dialog->size(), QSize(440, heights[to]));
                    // The page shows whole: its last control lies inside the dialog.
                    QWidget *page = dialog->OptionsTNB->widget(to);
                    QVERIFY(page->childrenRect().bottom() < page->height());
                }
            }
        };
        QVERIFY(InModalForReal<TOptionsNotebookDlg>(
            [&form] { return PressKeysForReal(form.get(), {QStringLiteral("ctrl+c")}); },
            eachPage));
    }
};

KORVID_XSESSION_MAIN(TestDialogPath)
#include "tst_dialogpath.moc"
