#include "platform/x11/X11Connection.h"

#include <QGuiApplication>
#include <QHash>
#include <cstring>

xcb_connection_t* X11Connection::connection()
{
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

xcb_window_t X11Connection::rootWindow()
{
    xcb_connection_t* c = connection();
    if (!c) {
        return XCB_WINDOW_NONE;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) {
        return XCB_WINDOW_NONE;
    }
    return screen->root;
}

xcb_atom_t X11Connection::atom(const char* name)
{
    static QHash<QByteArray, xcb_atom_t> cache;
    const QByteArray key(name);
    if (const auto found = cache.constFind(key); found != cache.constEnd()) {
        return *found;
    }
    const xcb_atom_t value = internAtom(connection(), name);
    if (value != XCB_ATOM_NONE) {
        cache.insert(key, value);
    }
    return value;
}

xcb_window_t X11Connection::activeWindow()
{
    xcb_connection_t* c = connection();
    if (!c) {
        return XCB_WINDOW_NONE;
    }
    const auto reply = xcbPtr(xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootWindow(), atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
        return XCB_WINDOW_NONE;
    }
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

xcb_atom_t X11Connection::internAtom(xcb_connection_t* c, const char* name)
{
    if (!c) {
        return XCB_ATOM_NONE;
    }
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const auto reply = xcbPtr(xcb_intern_atom_reply(c, cookie, nullptr));
    if (!reply) {
        return XCB_ATOM_NONE;
    }
    return reply->atom;
}

QByteArray X11Connection::atomName(xcb_connection_t* c, xcb_atom_t atom)
{
    if (!c || atom == XCB_ATOM_NONE) {
        return {};
    }
    const auto reply = xcbPtr(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr));
    if (!reply) {
        return {};
    }
    return QByteArray(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
}
