#include "platform/x11/X11KeyTap.h"

#include "platform/x11/X11Connection.h"

#include <QCoreApplication>
#include <xcb/xinput.h>
#include <xkbcommon/xkbcommon-x11.h>
// The header names a struct member "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

X11KeyTap::~X11KeyTap()
{
    remove();
    if (m_context) {
        xkb_context_unref(m_context);
    }
}

bool X11KeyTap::selectRawKeys(bool on)
{
    xcb_connection_t* c = X11Connection::connection();
    struct
    {
        xcb_input_event_mask_t header;
        std::uint32_t bits;
    } mask{};
    // All master devices: each key arrives once (all devices would also report it per slave), and
    // Qt's own selection on the root, for all devices, stays as it is.
    mask.header.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.header.mask_len = 1;
    mask.bits = on ? (XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE) : 0;
    const auto error = xcbPtr(
        xcb_request_check(c, xcb_input_xi_select_events_checked(c, X11Connection::rootWindow(), 1, &mask.header)));
    return !error;
}

bool X11KeyTap::install(std::function<void()> onCopyKeystroke)
{
    if (m_installed) {
        m_onCopy = std::move(onCopyKeystroke);
        return true;
    }
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return false;
    }
    // Qt has negotiated XInput 2 and XKB on its connection already; asking for other versions on the
    // same connection would be refused or change what Qt gets.
    const xcb_query_extension_reply_t* input = xcb_get_extension_data(c, &xcb_input_id);
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!input || !input->present || !xkb || !xkb->present) {
        return false;
    }
    m_inputOpcode = input->major_opcode;
    m_xkbEventBase = xkb->first_event;
    if (!selectRawKeys(true)) {
        return false;
    }
    m_onCopy = std::move(onCopyKeystroke);
    m_installed = true;
    m_keymapStale = true;
    m_keys.reset();
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

void X11KeyTap::remove()
{
    if (!m_installed) {
        return;
    }
    m_installed = false;
    m_onCopy = nullptr;
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    if (X11Connection::connection()) {
        selectRawKeys(false);
    }
}

void X11KeyTap::loadKeymap()
{
    m_keymapStale = false;
    xcb_connection_t* c = X11Connection::connection();
    if (!m_context) {
        m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    }
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(c);
    xkb_keymap* keymap = m_context && device >= 0
                             ? xkb_x11_keymap_new_from_device(m_context, c, device, XKB_KEYMAP_COMPILE_NO_FLAGS)
                             : nullptr;
    m_keys.setKeymap(keymap);
    if (keymap) {
        xkb_keymap_unref(keymap);
    }
}

std::uint32_t X11KeyTap::currentLayout()
{
    xcb_connection_t* c = X11Connection::connection();
    const auto state = xcbPtr(xcb_xkb_get_state_reply(c, xcb_xkb_get_state(c, XCB_XKB_ID_USE_CORE_KBD), nullptr));
    return state ? state->group : 0;
}

bool X11KeyTap::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == m_xkbEventBase) {
        // The layouts or the key mapping changed: read the keymap again before the next key.
        const std::uint8_t xkbType = reinterpret_cast<const std::uint8_t*>(event)[1];
        if (xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY) {
            m_keymapStale = true;
        }
        return false;
    }
    if (type != XCB_GE_GENERIC) {
        return false;
    }
    const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
    if (generic->extension != m_inputOpcode ||
        (generic->event_type != XCB_INPUT_RAW_KEY_PRESS && generic->event_type != XCB_INPUT_RAW_KEY_RELEASE)) {
        return false;
    }
    if (m_keymapStale) {
        loadKeymap();
    }
    const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event);
    if (generic->event_type == XCB_INPUT_RAW_KEY_RELEASE) {
        m_keys.release(raw->detail);
        return false;
    }
    if (m_keys.press(raw->detail, [this] { return currentLayout(); }) && m_onCopy) {
        // Listen-only: the event goes on to Qt untouched; the callback only schedules work.
        m_onCopy();
    }
    return false;
}
