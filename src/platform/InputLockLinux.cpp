// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InputLock.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/X11Connection.h"

// On X11 the hold is an active grab of keyboard and pointer on the root window, with the
// program's own windows still receiving their events. A grab on the root window never ends
// by itself: unlike one on the view, it outlives the view being unmapped (iconified, moved
// to another desktop), and opening or closing a prompt over the view needs no hand-over.
// The window manager's key bindings are passive grabs, which an active grab keeps from
// firing. What other programs can still do (ask the window manager to hide the view) is
// watched for, and undone.

namespace {

constexpr int RetryMs = 5;
constexpr int RetryForMs = 2000;
constexpr int WatchMs = 200;
constexpr quint32 AllDesktops = 0xFFFFFFFFu;
constexpr quint32 StateAdd = 1;
// Source indication of a pager or task bar: the window manager does not second-guess it.
constexpr quint32 SourcePager = 2;

struct Atoms
{
    xcb_atom_t wmState = 0;
    xcb_atom_t state = 0;
    xcb_atom_t fullScreen = 0;
    xcb_atom_t hidden = 0;
    xcb_atom_t desktop = 0;
    xcb_atom_t active = 0;
    xcb_atom_t stacking = 0;
    xcb_atom_t supporting = 0;
    xcb_atom_t currentDesktop = 0;
};

bool WaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

class InputLock::Private : public QAbstractNativeEventFilter
{
public:
    explicit Private(InputLock *owner)
        : q(owner)
    {
        retry.setInterval(RetryMs);
        watch.setInterval(WatchMs);
        QObject::connect(&retry, &QTimer::timeout, q, [this] { attempt(); });
        QObject::connect(&watch, &QTimer::timeout, q, [this] { check(); });
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override;

    void start(QWindow *shown);
    void stop();
    void attempt();
    bool grab();
    void check();
    void scheduleCheck();
    void internAtoms();
    std::vector<quint32> property(xcb_window_t window, xcb_atom_t name) const;
    void send(xcb_window_t window, xcb_atom_t type, const std::array<quint32, 5> &data) const;

    InputLock *q;
    xcb_connection_t *c = nullptr;
    xcb_window_t root = 0;
    xcb_window_t view = 0;
    QPointer<QWindow> window;
    Atoms atoms;
    bool holding = false;
    bool checkPending = false;
    QTimer retry;
    QTimer watch;
    QElapsedTimer retrying;
};

void InputLock::Private::internAtoms()
{
    const std::array<std::pair<xcb_atom_t *, const char *>, 9> names = {{
        {&atoms.wmState, "WM_STATE"},
        {&atoms.state, "_NET_WM_STATE"},
        {&atoms.fullScreen, "_NET_WM_STATE_FULLSCREEN"},
        {&atoms.hidden, "_NET_WM_STATE_HIDDEN"},
        {&atoms.desktop, "_NET_WM_DESKTOP"},
        {&atoms.active, "_NET_ACTIVE_WINDOW"},
        {&atoms.stacking, "_NET_CLIENT_LIST_STACKING"},
        {&atoms.supporting, "_NET_SUPPORTING_WM_CHECK"},
        {&atoms.currentDesktop, "_NET_CURRENT_DESKTOP"},
    }};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (size_t i = 0; i < names.size(); ++i)
        cookies[i] = xcb_intern_atom(c, 0, uint16_t(strlen(names[i].second)), names[i].second);
    for (size_t i = 0; i < names.size(); ++i) {
        if (auto *reply = xcb_intern_atom_reply(c, cookies[i], nullptr)) {
            *names[i].first = reply->atom;
            free(reply);
        }
    }
}

std::vector<quint32> InputLock::Private::property(xcb_window_t of, xcb_atom_t name) const
{
    std::vector<quint32> values;
    const auto cookie = xcb_get_property(c, 0, of, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    if (auto *reply = xcb_get_property_reply(c, cookie, nullptr)) {
        if (reply->format == 32) {
            const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
    }
    return values;
}

void InputLock::Private::send(xcb_window_t about, xcb_atom_t type,
                              const std::array<quint32, 5> &data) const
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = about;
    event.type = type;
    for (size_t i = 0; i < data.size(); ++i)
        event.data.data32[i] = data[i];
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
}

bool InputLock::Private::grab()
{
    // owner_events: keys and clicks meant for the program's own windows reach them as
    // usual; everything else is reported to the root window, where nothing takes it.
    const auto keyboard =
        xcb_grab_keyboard(c, 1, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    const auto pointer = xcb_grab_pointer(c, 1, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                          XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    bool held = true;
    if (auto *reply = xcb_grab_keyboard_reply(c, keyboard, nullptr)) {
        held = reply->status == XCB_GRAB_STATUS_SUCCESS;
        free(reply);
    } else {
        held = false;
    }
    if (auto *reply = xcb_grab_pointer_reply(c, pointer, nullptr)) {
        held = held && reply->status == XCB_GRAB_STATUS_SUCCESS;
        free(reply);
    } else {
        held = false;
    }
    return held;
}

void InputLock::Private::start(QWindow *shown)
{
    window = shown;
    view = xcb_window_t(shown->winId());
    if (auto *tree = xcb_query_tree_reply(c, xcb_query_tree(c, view), nullptr)) {
        root = tree->root;
        free(tree);
    }
    internAtoms();
    // The root window's property changes tell of desktop switches, activation and
    // restacking; the selection is added to whatever the toolkit already asked for.
    if (auto *attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr)) {
        const quint32 mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
        free(attributes);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    retrying.start();
    attempt();
    watch.start();
}

void InputLock::Private::attempt()
{
    holding = grab();
    if (holding) {
        retry.stop();
        check();
    } else if (retrying.elapsed() >= RetryForMs) {
        retry.stop();
        emit q->refused(QStringLiteral("another program holds the keyboard or the mouse."));
    } else if (!retry.isActive()) {
        retry.start();
    }
}

void InputLock::Private::stop()
{
    watch.stop();
    retry.stop();
    if (!c || !window)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (holding) {
        holding = false;
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    window.clear();
}

void InputLock::Private::scheduleCheck()
{
    if (checkPending)
        return;
    checkPending = true;
    QTimer::singleShot(0, q, [this] {
        checkPending = false;
        check();
    });
}

bool InputLock::Private::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (!window || type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7F) {
    case XCB_UNMAP_NOTIFY:
        if (reinterpret_cast<const xcb_unmap_notify_event_t *>(event)->window == view)
            scheduleCheck();
        break;
    case XCB_PROPERTY_NOTIFY: {
        const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        if (change->window == view || change->window == root)
            scheduleCheck();
        break;
    }
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT:
        // Something of the toolkit's let go of the keyboard (a popup closing): take it back
        // before anything else is read.
        if (reinterpret_cast<const xcb_focus_in_event_t *>(event)->mode == XCB_NOTIFY_MODE_UNGRAB
            && holding) {
            holding = grab();
            scheduleCheck();
        }
        break;
    default:
        break;
    }
    return false;
}

void InputLock::Private::check()
{
    if (!window)
        return;
    // Re-taking a grab this client holds costs one round trip and closes any gap the
    // toolkit may have opened.
    holding = grab();
    if (!holding && !retry.isActive() && retrying.elapsed() >= RetryForMs) {
        retrying.start();
        attempt();
    }

    bool viewable = false;
    if (auto *attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, view), nullptr)) {
        viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        free(attributes);
    }
    const bool managed = !property(root, atoms.supporting).empty();
    QSet<quint32> ours;
    for (QWindow *w : QGuiApplication::topLevelWindows()) {
        if (w->isVisible() && w->handle())
            ours.insert(quint32(w->winId()));
    }
    bool inPlace = viewable;
    bool fullScreen = true;
    bool onEveryDesktop = true;
    if (managed) {
        const auto states = property(view, atoms.state);
        fullScreen = std::find(states.begin(), states.end(), atoms.fullScreen) != states.end();
        const bool hidden = std::find(states.begin(), states.end(), atoms.hidden) != states.end();
        const auto desktop = property(view, atoms.desktop);
        onEveryDesktop = desktop.empty() || desktop.front() == AllDesktops;
        const auto active = property(root, atoms.active);
        const auto stacking = property(root, atoms.stacking);
        const bool activeOurs = active.empty() || ours.contains(active.front());
        const bool topOurs = stacking.empty() || ours.contains(stacking.back());
        inPlace = viewable && !hidden && fullScreen && onEveryDesktop && activeOurs && topOurs;
    }
    if (inPlace)
        return;

    QWindow *modal = QGuiApplication::modalWindow();
    const xcb_window_t front =
        modal && modal->isVisible() && modal->handle() ? xcb_window_t(modal->winId()) : view;
    if (!viewable)
        xcb_map_window(c, view);
    const quint32 above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, view, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    if (front != view)
        xcb_configure_window(c, front, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    if (managed) {
        if (!onEveryDesktop)
            send(view, atoms.desktop, {AllDesktops, SourcePager, 0, 0, 0});
        if (!fullScreen)
            send(view, atoms.state, {StateAdd, atoms.fullScreen, 0, SourcePager, 0});
        send(front, atoms.active, {SourcePager, XCB_CURRENT_TIME, 0, 0, 0});
    } else {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, front, XCB_CURRENT_TIME);
    }
    xcb_flush(c);
}

InputLock::InputLock(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>(this))
{}

InputLock::~InputLock()
{
    release();
}

QString InputLock::Unavailable()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return QStringLiteral("the Wayland desktop keeps its own keys, such as those for "
                              "switching programs, and lets no program hold the keyboard.");
    if (platform != QLatin1String("xcb"))
        return QStringLiteral("there is no desktop display whose keyboard a program could hold.");
    if (WaylandSession())
        return QStringLiteral("this is a Wayland session, whose desktop keeps its own keys, such "
                              "as those for switching programs, even from a program that holds "
                              "the keyboard.");
    return {};
}

bool InputLock::hold(QWindow *window)
{
    release();
    d->c = X11Connection();
    // On a session that cannot lock (X11 programs on a Wayland desktop) the grab still keeps
    // keys from the other X11 programs; the caller says that the lock does not hold.
    if (!window || !d->c)
        return false;
    d->start(window);
    return true;
}

void InputLock::release()
{
    d->stop();
}

bool InputLock::holding() const
{
    return d->window && d->holding;
}
