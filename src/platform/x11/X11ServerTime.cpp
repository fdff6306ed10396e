#include "platform/x11/X11ServerTime.h"

#include "platform/x11/X11Connection.h"

#include <QDeadlineTimer>
#include <poll.h>

namespace {
// Qt's connection delivers its events to Qt's queue, where this code cannot wait for one; a second
// connection of our own can be waited on directly.
struct Clock
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t window = XCB_WINDOW_NONE;
    xcb_atom_t property = XCB_ATOM_NONE;

    Clock()
    {
        connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection)) {
            return;
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (!screen) {
            return;
        }
        window = xcb_generate_id(connection);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        property = X11Connection::internAtom(connection, "_STASHWELL_TIMESTAMP");
    }

    ~Clock()
    {
        if (connection) {
            xcb_disconnect(connection);
        }
    }

    bool isUsable() const
    {
        return connection && !xcb_connection_has_error(connection) && window != XCB_WINDOW_NONE &&
               property != XCB_ATOM_NONE;
    }
};
} // namespace

xcb_timestamp_t X11ServerTime::now(int timeoutMs)
{
    static Clock clock;
    if (!clock.isUsable()) {
        return XCB_CURRENT_TIME;
    }
    xcb_connection_t* c = clock.connection;
    // Appending nothing changes nothing but still makes the server report the time of the change.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, clock.window, clock.property, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);

    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (auto event = xcbPtr(xcb_poll_for_event(c))) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
                if (notify->window == clock.window && notify->atom == clock.property) {
                    return notify->time;
                }
            }
        }
        const int remaining = static_cast<int>(deadline.remainingTime());
        if (remaining <= 0 || xcb_connection_has_error(c)) {
            return XCB_CURRENT_TIME;
        }
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&fd, 1, remaining);
    }
}
