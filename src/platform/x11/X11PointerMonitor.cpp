// Raw button presses are delivered to every client that selects them on the root window, even
// while another client grabs the pointer, and they leave the press to the window it is meant for.
// A connection of our own keeps this selection apart from Qt's and the key tap's XInput2 masks,
// which would otherwise replace each other (one mask per client, window and device).
#include "platform/x11/X11PointerMonitor.h"

#include "platform/x11/X11Connection.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <xcb/xinput.h>

X11PointerMonitor::X11PointerMonitor() = default;

X11PointerMonitor::~X11PointerMonitor()
{
    remove();
}

bool X11PointerMonitor::install(std::function<void()> onPress)
{
    if (m_connection) {
        m_onPress = std::move(onPress);
        return true;
    }
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    if (!extension || !extension->present) {
        xcb_disconnect(c);
        return false;
    }
    // Raw events need XInput 2.0; delivery during grabs came with 2.1, which every current server has.
    const auto version = xcbPtr(xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
    if (!version || version->major_version < 2) {
        xcb_disconnect(c);
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (!screens.data) {
        xcb_disconnect(c);
        return false;
    }
    struct
    {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } selection = {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS};
    const auto error =
        xcbPtr(xcb_request_check(c, xcb_input_xi_select_events_checked(c, screens.data->root, 1, &selection.head)));
    if (error) {
        xcb_disconnect(c);
        return false;
    }
    m_connection = c;
    m_xinputOpcode = extension->major_opcode;
    m_onPress = std::move(onPress);
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11PointerMonitor::readEvents);
    return true;
}

void X11PointerMonitor::remove()
{
    m_notifier.reset();
    if (m_connection) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
    m_onPress = nullptr;
}

void X11PointerMonitor::readEvents()
{
    bool pressed = false;
    while (m_connection) {
        const auto event = xcbPtr(xcb_poll_for_event(m_connection));
        if (!event) {
            break;
        }
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC) {
            continue;
        }
        const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event.get());
        if (generic->extension != m_xinputOpcode || generic->event_type != XCB_INPUT_RAW_BUTTON_PRESS) {
            continue;
        }
        const auto* raw = reinterpret_cast<const xcb_input_raw_button_press_event_t*>(event.get());
        if (raw->detail == 1 || raw->detail == 3) { // left and right; not the wheel (4 to 7)
            pressed = true;
        }
    }
    if (m_connection && xcb_connection_has_error(m_connection)) {
        // The server went away under us: stop watching rather than spin on a dead socket.
        m_notifier.reset();
    }
    if (pressed && m_onPress) {
        // The press is reported after the current callback returns, as every platform callback is.
        QPointer<X11PointerMonitor> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self && self->m_onPress) {
                self->m_onPress();
            }
        });
    }
}
