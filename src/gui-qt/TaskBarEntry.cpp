#include "gui-qt/TaskBarEntry.h"

#include <QGuiApplication>
#include <QWidget>
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

}  // namespace

// A mapped window's state is changed by a message to the root window (EWMH),
// which the window manager reads after the map request that came before it.
void keepOffTaskBar(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers as X11 too, without a connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr || !window.isVisible()) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
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
