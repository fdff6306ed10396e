// The few xcb pieces the helper programs share: replies freed on their own, atoms by name and back,
// and the answer to a selection request.
#pragma once

#include <QByteArray>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace helpers {
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T* raw)
{
    return Reply<T>(raw, &std::free);
}

inline xcb_atom_t atom(xcb_connection_t* c, const QByteArray& name)
{
    const auto found =
        reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.constData()), nullptr));
    return found ? found->atom : XCB_ATOM_NONE;
}

inline QByteArray atomName(xcb_connection_t* c, xcb_atom_t value)
{
    const auto found = reply(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, value), nullptr));
    return found ? QByteArray(xcb_get_atom_name_name(found.get()), xcb_get_atom_name_name_length(found.get()))
                 : QByteArray();
}

// Tells the requestor its conversion is done: `property` holds the data, or XCB_ATOM_NONE refuses.
inline void notify(xcb_connection_t* c, const xcb_selection_request_event_t& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
}

// Sends _NET_WM_PING to `window`; its answer comes back to the root window carrying `serial`.
inline void sendPing(xcb_connection_t* c, xcb_window_t window, xcb_atom_t protocols, xcb_atom_t ping,
                     std::uint32_t serial)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = ping;
    event.data.data32[1] = serial; // the timestamp slot: any number the answer echoes
    event.data.data32[2] = window;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}
} // namespace helpers
