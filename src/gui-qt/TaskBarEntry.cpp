#include "gui-qt/TaskBarEntry.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(TARVO_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define TARVO_ASKS_X11 1
#endif

namespace tarvo {

#ifdef TARVO_ASKS_X11

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t value = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    const xcb_window_t root = tree ? tree->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    std::free(tree);
    return root;
}

bool hasState(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t state,
              xcb_atom_t value) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 64), nullptr);
    bool found = false;
    if (reply != nullptr && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        found = std::find(atoms, atoms + count, value) != atoms + count;
    }
    std::free(reply);
    return found;
}

// A window not yet mapped carries its state as a property (EWMH), which the
// window manager reads as it takes the window; Qt keeps what it finds there.
void markOffTaskBar(xcb_connection_t* connection, xcb_window_t id) {
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (!hasState(connection, id, state, skip)) {
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1,
                            &skip);
        xcb_flush(connection);
    }
}

}  // namespace

// A mapped window's state is changed by a message to the root window (EWMH),
// which the window manager reads after the map request that came before it.
void keepOffTaskBar(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers as X11 too, without a connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (!window.isVisible()) {
        markOffTaskBar(connection, id);
        return;
    }
    const xcb_window_t root = rootOf(connection, id);
    if (root == static_cast<xcb_window_t>(XCB_WINDOW_NONE)) {
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = atom(connection, "_NET_WM_STATE");
    message.data.data32[0] = 1;  // _NET_WM_STATE_ADD
    message.data.data32[1] = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    message.data.data32[3] = 1;  // from a normal application
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

#else

void keepOffTaskBar(QWidget&) {}

#endif

}  // namespace tarvo
