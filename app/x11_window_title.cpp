#include "app/x11_window_title.h"

#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
}

}  // namespace

void ClearWindowTitle(QWidget* window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window->windowHandle()) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_ICON_NAME, XCB_ATOM_STRING, 8, 0, "");
    // Window managers such as openbox write "Unnamed Window" into the title bar of a
    // window without a name; a lone space keeps the bar free of text everywhere.
    for (const char* name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"}) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, name), utf8, 8, 1, " ");
    }
    xcb_flush(connection);
}
