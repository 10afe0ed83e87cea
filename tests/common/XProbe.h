// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

// Another X client on the same display, as a second program or a task bar would be: it
// tries to take keyboard and pointer, reads what the window manager says of a window, and
// sends the requests a task bar or pager sends.
class XClient
{
public:
    explicit XClient(const QString &display)
    {
        m_c = xcb_connect(display.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(m_c))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    }
    ~XClient() { xcb_disconnect(m_c); }
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    bool connected() const { return m_root != 0; }

    // Whether this client could take the keyboard or the pointer right now; what it took it
    // lets go of at once.
    bool grabbable()
    {
        const auto keyboard = xcb_grab_keyboard(m_c, 0, m_root, XCB_CURRENT_TIME,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        const auto pointer =
            xcb_grab_pointer(m_c, 0, m_root, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC,
                             XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
        bool took = false;
        if (auto *reply = xcb_grab_keyboard_reply(m_c, keyboard, nullptr)) {
            if (reply->status == XCB_GRAB_STATUS_SUCCESS) {
                took = true;
                xcb_ungrab_keyboard(m_c, XCB_CURRENT_TIME);
            }
            free(reply);
        }
        if (auto *reply = xcb_grab_pointer_reply(m_c, pointer, nullptr)) {
            if (reply->status == XCB_GRAB_STATUS_SUCCESS) {
                took = true;
                xcb_ungrab_pointer(m_c, XCB_CURRENT_TIME);
            }
            free(reply);
        }
        if (took)
            xcb_flush(m_c);
        return took;
    }

    xcb_atom_t atom(const char *name)
    {
        xcb_atom_t result = 0;
        if (auto *reply = xcb_intern_atom_reply(
                m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr)) {
            result = reply->atom;
            free(reply);
        }
        return result;
    }

    std::vector<quint32> property(xcb_window_t window, const char *name)
    {
        std::vector<quint32> values;
        const auto cookie =
            xcb_get_property(m_c, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
        if (auto *reply = xcb_get_property_reply(m_c, cookie, nullptr)) {
            if (reply->format == 32) {
                const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
                values.assign(data, data + xcb_get_property_value_length(reply) / 4);
            }
            free(reply);
        }
        return values;
    }

    xcb_window_t activeWindow()
    {
        const auto active = property(m_root, "_NET_ACTIVE_WINDOW");
        return active.empty() ? 0 : active.front();
    }

    QString title(xcb_window_t window)
    {
        QString text;
        const auto cookie = xcb_get_property(m_c, 0, window, atom("_NET_WM_NAME"),
                                             XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        if (auto *reply = xcb_get_property_reply(m_c, cookie, nullptr)) {
            text = QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply)),
                                     xcb_get_property_value_length(reply));
            free(reply);
        }
        return text;
    }

    QSize size(xcb_window_t window)
    {
        QSize result;
        if (auto *reply = xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr)) {
            result = QSize(reply->width, reply->height);
            free(reply);
        }
        return result;
    }

    bool viewable(xcb_window_t window)
    {
        bool result = false;
        if (auto *reply = xcb_get_window_attributes_reply(
                m_c, xcb_get_window_attributes(m_c, window), nullptr)) {
            result = reply->map_state == XCB_MAP_STATE_VIEWABLE;
            free(reply);
        }
        return result;
    }

    // The window as the locked show must keep it: mapped, full screen, on top and active.
    bool inFront(xcb_window_t window)
    {
        const auto states = property(window, "_NET_WM_STATE");
        const auto stacking = property(m_root, "_NET_CLIENT_LIST_STACKING");
        const xcb_atom_t fullScreen = atom("_NET_WM_STATE_FULLSCREEN");
        return viewable(window)
               && std::find(states.begin(), states.end(), fullScreen) != states.end()
               && !stacking.empty() && stacking.back() == window && activeWindow() == window;
    }

    // Colour of one pixel of a window, as 0xRRGGBB.
    quint32 pixel(xcb_window_t window, int x, int y)
    {
        quint32 result = 0;
        const auto cookie = xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, int16_t(x),
                                          int16_t(y), 1, 1, ~0u);
        if (auto *reply = xcb_get_image_reply(m_c, cookie, nullptr)) {
            if (xcb_get_image_data_length(reply) >= 4)
                std::memcpy(&result, xcb_get_image_data(reply), 4);
            free(reply);
        }
        return result & 0xFFFFFF;
    }

    // A client message to the window manager about window, as a task bar or pager sends it.
    void tell(xcb_window_t window, const char *type, std::array<quint32, 5> data)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom(type);
        std::copy(data.begin(), data.end(), event.data.data32);
        xcb_send_event(m_c, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(m_c);
    }

    void iconify(xcb_window_t window) { tell(window, "WM_CHANGE_STATE", {3, 0, 0, 0, 0}); }
    void moveToDesktop(xcb_window_t window, quint32 desktop)
    {
        tell(window, "_NET_WM_DESKTOP", {desktop, 2, 0, 0, 0});
    }
    void switchDesktop(quint32 desktop)
    {
        tell(m_root, "_NET_CURRENT_DESKTOP", {desktop, 0, 0, 0, 0});
    }
    void leaveFullScreen(xcb_window_t window)
    {
        tell(window, "_NET_WM_STATE", {0, atom("_NET_WM_STATE_FULLSCREEN"), 0, 2, 0});
    }
    void activate(xcb_window_t window) { tell(window, "_NET_ACTIVE_WINDOW", {2, 0, 0, 0, 0}); }

private:
    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_root = 0;
};

// A client of its own that tries to take keyboard and pointer over and over, as fast as
// the server answers (a try takes well under 0.3 ms on a local display), and counts how
// often it got either.
class GrabProbe
{
public:
    explicit GrabProbe(const QString &display)
        : m_display(display)
    {}
    ~GrabProbe() { stop(); }

    void start()
    {
        m_stop = false;
        m_successes = 0;
        m_tries = 0;
        m_started = std::chrono::steady_clock::now();
        m_thread = std::thread([this] {
            XClient client(m_display);
            while (!m_stop) {
                if (client.grabbable())
                    ++m_successes;
                ++m_tries;
            }
        });
    }

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        m_elapsed = std::chrono::steady_clock::now() - m_started;
    }

    int successes() const { return m_successes; }
    int tries() const { return m_tries; }
    // Mean time between two tries, in milliseconds.
    double interval() const
    {
        return m_tries ? std::chrono::duration<double, std::milli>(m_elapsed).count() / m_tries : 0;
    }

private:
    QString m_display;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_successes{0};
    std::atomic<int> m_tries{0};
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::duration m_elapsed{};
};
