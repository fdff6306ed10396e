// Asks the X server whether a compositor runs, and asks KWin to blur behind our translucent windows.
#include "platform/x11/X11WindowEffects.h"

#include "platform/x11/X11Connection.h"

#include <QByteArray>
#include <vector>

bool X11WindowEffects::hasCompositor()
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return false;
    }
    // The compositing manager of screen N owns the selection _NET_WM_CM_SN (EWMH); we use screen 0,
    // the only one Qt's connection opens windows on here.
    const xcb_atom_t selection = X11Connection::atom("_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE) {
        return false;
    }
    const auto reply = xcbPtr(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

void X11WindowEffects::requestBlurBehind(QWindow* window, const QVector<QRect>& rects)
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c || !window) {
        return;
    }
    const xcb_atom_t property = X11Connection::atom("_KDE_NET_WM_BLUR_BEHIND_REGION");
    if (property == XCB_ATOM_NONE) {
        return;
    }
    // KWin reads a list of x, y, width, height; an empty list blurs the whole window. Other
    // compositors ignore the property, so setting it is harmless where blur is not offered.
    std::vector<uint32_t> values;
    values.reserve(static_cast<std::size_t>(rects.size()) * 4);
    for (const QRect& rect : rects) {
        values.push_back(static_cast<uint32_t>(rect.x()));
        values.push_back(static_cast<uint32_t>(rect.y()));
        values.push_back(static_cast<uint32_t>(rect.width()));
        values.push_back(static_cast<uint32_t>(rect.height()));
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), property,
                        XCB_ATOM_CARDINAL, 32, static_cast<uint32_t>(values.size()), values.data());
    xcb_flush(c);
}
