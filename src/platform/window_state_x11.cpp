#include "platform/window_state_x11.h"

#include "platform/qt_xcb_connection.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr std::uint32_t kIconicState = 3;

template <typename Reply> using TReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const TReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

bool MinimisedOnScreen(const QWindow& window) {
    xcb_connection_t* connection = QtXcbConnection();
    const bool minimised = window.windowStates().testFlag(Qt::WindowMinimized);
    if (connection == nullptr || window.handle() == nullptr)
        return minimised;
    const xcb_atom_t wmState = Atom(connection, "WM_STATE");
    if (wmState == XCB_ATOM_NONE)
        return minimised;
    const TReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, xcb_window_t(window.winId()), wmState, wmState, 0, 1),
            nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4)
        return minimised;
    std::uint32_t state = 0;
    std::memcpy(&state, xcb_get_property_value(reply.get()), sizeof state);
    return state == kIconicState;
}

void RestoreFromMinimised(const QWindow& window) {
    xcb_connection_t* connection = QtXcbConnection();
    if (connection == nullptr || window.handle() == nullptr)
        return;
    xcb_map_window(connection, xcb_window_t(window.winId()));
    xcb_flush(connection);
}
