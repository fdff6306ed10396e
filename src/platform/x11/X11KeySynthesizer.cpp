#include "platform/x11/X11KeySynthesizer.h"

#include "platform/TerminalEmulators.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keyboard.h"

#include <xcb/xtest.h>

namespace {
// Fallbacks by key position (evdev code + 8) for keyboards whose map lacks the keysym.
constexpr xcb_keycode_t controlPosition = 37;
constexpr xcb_keycode_t shiftPosition = 50;
constexpr xcb_keycode_t vPosition = 55;

xcb_keycode_t keycodeFor(xcb_connection_t* c, xcb_keysym_t keysym, xcb_keycode_t fallback)
{
    return X11Keyboard::keycodeForKeysym(c, keysym).value_or(fallback);
}

bool activeWindowIsTerminal(xcb_connection_t* c)
{
    const auto active = xcbPtr(
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, X11Connection::rootWindow(),
                                                X11Connection::atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
                               nullptr));
    if (!active || active->format != 32 || xcb_get_property_value_length(active.get()) < 4) {
        return false;
    }
    const xcb_window_t window = *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE) {
        return false;
    }
    const auto wmClass = xcbPtr(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    if (!wmClass || wmClass->format != 8) {
        return false;
    }
    // "instance\0class\0"
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                           xcb_get_property_value_length(wmClass.get()));
    const QList<QByteArray> parts = value.split('\0');
    return TerminalEmulators::isTerminal(parts.value(0), parts.value(1));
}

void fakeKey(xcb_connection_t* c, std::uint8_t type, xcb_keycode_t keycode)
{
    xcb_test_fake_input(c, type, keycode, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
}
} // namespace

X11KeySynthesizer::X11KeySynthesizer(QObject* parent) : QObject(parent)
{
    m_poll.setInterval(pollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &X11KeySynthesizer::pollModifiers);
}

bool X11KeySynthesizer::isTrusted(bool)
{
    // XTest needs no permission on X11: there is nothing to prompt for.
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return false;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_test_id);
    return extension && extension->present;
}

bool X11KeySynthesizer::postPaste()
{
    if (!isTrusted(false)) {
        return false;
    }
    ++m_pending;
    if (m_poll.isActive()) {
        return true; // already waiting; this paste goes out with the one queued before it
    }
    if (!isModifierHeld()) {
        postNow();
        return true;
    }
    // Applications ignore Control+V while, say, Alt or Super is still down (a pick made with them
    // held): wait for the release without blocking, but not for ever.
    m_waiting.start();
    m_poll.start();
    return true;
}

bool X11KeySynthesizer::isModifierHeld()
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return false;
    }
    const auto keymap = xcbPtr(xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    if (!keymap) {
        return false;
    }
    for (const xcb_keycode_t code : X11Keyboard::modifierKeycodes(c)) {
        if (keymap->keys[code / 8] & (1u << (code % 8))) {
            return true;
        }
    }
    return false;
}

void X11KeySynthesizer::pollModifiers()
{
    if (isModifierHeld() && m_waiting.elapsed() < maxWaitMs) {
        return;
    }
    m_poll.stop();
    postNow();
}

void X11KeySynthesizer::postNow()
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        m_pending = 0;
        return;
    }
    const xcb_keycode_t control = keycodeFor(c, X11Keyboard::keysymControlL, controlPosition);
    const xcb_keycode_t shift = keycodeFor(c, X11Keyboard::keysymShiftL, shiftPosition);
    const xcb_keycode_t v = keycodeFor(c, X11Keyboard::keysymV, vPosition);
    const bool withShift = activeWindowIsTerminal(c);
    for (; m_pending > 0; --m_pending) {
        fakeKey(c, XCB_KEY_PRESS, control);
        if (withShift) {
            fakeKey(c, XCB_KEY_PRESS, shift);
        }
        fakeKey(c, XCB_KEY_PRESS, v);
        fakeKey(c, XCB_KEY_RELEASE, v);
        // Every key pressed here is let go again, so no modifier stays down behind the user's back.
        if (withShift) {
            fakeKey(c, XCB_KEY_RELEASE, shift);
        }
        fakeKey(c, XCB_KEY_RELEASE, control);
    }
    xcb_flush(c);
}
