#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <X11/keysym.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

// Another X client on the test's display, with a connection of its own: it can hold a window
// with the keyboard focus and grab keys before the client under test does.
class TOtherX11Client {
public:
    TOtherX11Client() : FConnection(xcb_connect(nullptr, nullptr)) {
        FScreen = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data;
    }
    ~TOtherX11Client() { xcb_disconnect(FConnection); }
    TOtherX11Client(const TOtherX11Client&) = delete;
    TOtherX11Client& operator=(const TOtherX11Client&) = delete;

    bool Connected() const { return xcb_connection_has_error(FConnection) == 0; }

    // A mapped window of this client that has the keyboard focus.
    void TakeFocus() {
        const xcb_window_t window = xcb_generate_id(FConnection);
        xcb_create_window(FConnection, XCB_COPY_FROM_PARENT, window, FScreen->root, 0, 0, 200, 100,
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, FScreen->root_visual, 0, nullptr);
        xcb_map_window(FConnection, window);
        xcb_set_input_focus(FConnection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        Sync();
        FFocusWindow = window;
    }
    xcb_window_t FocusWindow() const { return FFocusWindow; }

    // Grabs the key giving Keysym with Mask on the root window; false when refused.
    bool GrabKey(xcb_keysym_t keysym, std::uint16_t mask) {
        const xcb_keycode_t code = Keycode(keysym);
        xcb_generic_error_t* error = xcb_request_check(
            FConnection, xcb_grab_key_checked(FConnection, 0, FScreen->root, mask, code,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void UngrabKey(xcb_keysym_t keysym, std::uint16_t mask) {
        xcb_ungrab_key(FConnection, Keycode(keysym), FScreen->root, mask);
        Sync();
    }

    // Gives key code Code the keysyms Lower and Upper (the core keyboard map).
    void MapKey(xcb_keycode_t code, xcb_keysym_t lower, xcb_keysym_t upper) {
        const xcb_keysym_t keysyms[2] = {lower, upper};
        xcb_change_keyboard_mapping(FConnection, 1, code, 2, keysyms);
        Sync();
    }

    // Asks Window to close, as a window manager's close button does (WM_DELETE_WINDOW).
    void RequestClose(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = Atom("WM_PROTOCOLS");
        message.data.data32[0] = Atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(FConnection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        Sync();
    }

    // Pings Window's client (_NET_WM_PING, answered to the root window's structure watchers) and
    // waits for the answer: by then the client has handled every event the server sent it
    // before, and sent what that made it ask for.
    bool Ping(xcb_window_t window, int milliseconds) {
        const std::uint32_t rootMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(FConnection, FScreen->root, XCB_CW_EVENT_MASK, &rootMask);
        const xcb_atom_t protocols = Atom("WM_PROTOCOLS");
        const xcb_atom_t ping = Atom("_NET_WM_PING");
        const std::uint32_t stamp = ++FPings;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = stamp;
        message.data.data32[2] = window;
        xcb_send_event(FConnection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(FConnection);
        const auto answered = [&](const xcb_generic_event_t* event) {
            if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
                return false;
            const auto* reply = reinterpret_cast<const xcb_client_message_event_t*>(event);
            return reply->type == protocols && reply->data.data32[0] == ping &&
                   reply->data.data32[1] == stamp;
        };
        QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired()) {
            xcb_generic_event_t* event = xcb_poll_for_event(FConnection);
            if (event == nullptr) {
                QThread::msleep(10);
                continue;
            }
            const bool found = answered(event);
            std::free(event);
            if (found)
                return true;
        }
        return false;
    }

    // A window manager announces itself on the root window with a window of its own, which a
    // window manager that has ended leaves named there.
    bool WindowManagerRunning() {
        const xcb_atom_t check = Atom("_NET_SUPPORTING_WM_CHECK");
        auto* reply = xcb_get_property_reply(
            FConnection,
            xcb_get_property(FConnection, 0, FScreen->root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
        const bool named = reply && xcb_get_property_value_length(reply) == 4;
        const xcb_window_t window =
            named ? *static_cast<const xcb_window_t*>(xcb_get_property_value(reply)) : 0;
        std::free(reply);
        auto* attributes =
            named ? xcb_get_window_attributes_reply(
                        FConnection, xcb_get_window_attributes(FConnection, window), nullptr)
                  : nullptr;
        const bool alive = attributes != nullptr;
        std::free(attributes);
        return alive;
    }

    // The viewable top-level windows whose _NET_WM_NAME contains Title. Unlike xdotool this
    // finds a title that the client could not write into WM_NAME in its own locale.
    QList<xcb_window_t> WindowsTitled(const QString& title) {
        QList<xcb_window_t> found;
        auto* tree =
            xcb_query_tree_reply(FConnection, xcb_query_tree(FConnection, FScreen->root), nullptr);
        if (tree == nullptr)
            return found;
        const xcb_atom_t name = Atom("_NET_WM_NAME");
        const xcb_atom_t utf8 = Atom("UTF8_STRING");
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            auto* attributes = xcb_get_window_attributes_reply(
                FConnection, xcb_get_window_attributes(FConnection, children[i]), nullptr);
            auto* property = xcb_get_property_reply(
                FConnection, xcb_get_property(FConnection, 0, children[i], name, utf8, 0, 256),
                nullptr);
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && property &&
                QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(property)),
                                  xcb_get_property_value_length(property))
                    .contains(title))
                found.append(children[i]);
            std::free(attributes);
            std::free(property);
        }
        std::free(tree);
        return found;
    }

    xcb_atom_t Atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            FConnection, xcb_intern_atom(FConnection, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    xcb_keycode_t Keycode(xcb_keysym_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(FConnection);
        auto* reply = xcb_get_keyboard_mapping_reply(
            FConnection,
            xcb_get_keyboard_mapping(FConnection, setup->min_keycode,
                                     setup->max_keycode - setup->min_keycode + 1),
            nullptr);
        xcb_keycode_t found = 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        const int count = xcb_get_keyboard_mapping_keysyms_length(reply);
        for (int i = 0; i < count && found == 0; ++i) {
            if (syms[i] == keysym)
                found = xcb_keycode_t(setup->min_keycode + i / reply->keysyms_per_keycode);
        }
        std::free(reply);
        return found;
    }

    void Sync() {
        std::free(
            xcb_get_input_focus_reply(FConnection, xcb_get_input_focus(FConnection), nullptr));
    }

private:
    xcb_connection_t* FConnection;
    xcb_screen_t* FScreen = nullptr;
    xcb_window_t FFocusWindow = 0;
    std::uint32_t FPings = 0;
};

// Types Keys ("ctrl+a", "Num_Lock") through the X server's test extension, as a keyboard would.
inline bool TypeKeys(const QString& keys) {
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}) == 0;
}
