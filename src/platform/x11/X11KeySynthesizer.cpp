#include "platform/x11/X11KeySynthesizer.h"

#include "platform/Applications.h"
#include "platform/TerminalEmulators.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keyboard.h"

#include <utility>
#include <xcb/xtest.h>

namespace {
// Fallbacks by key position (evdev code + 8) for keyboards whose map lacks the keysym.
constexpr xcb_keycode_t controlPosition = 37;
constexpr xcb_keycode_t shiftPosition = 50;
constexpr xcb_keycode_t vPosition = 55;
// Toolkits put the focus on the top-level window or on a window a few levels inside it.
constexpr int maxFocusDepth = 16;

xcb_keycode_t keycodeFor(xcb_connection_t* c, xcb_keysym_t keysym, xcb_keycode_t fallback)
{
    return X11Keyboard::keycodeForKeysym(c, keysym).value_or(fallback);
}

// Whether the window manager names `window` the active window and the keyboard focus is in it:
// keys sent now reach that window and no other.
bool holdsKeyboard(xcb_connection_t* c, xcb_window_t window)
{
    if (window == XCB_WINDOW_NONE || X11Connection::activeWindow() != window) {
        return false;
    }
    const auto focus = xcbPtr(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_window_t inside = focus ? focus->focus : xcb_window_t(XCB_WINDOW_NONE);
    // PointerRoot focus sends keys to whatever lies under the pointer: no window can be vouched for.
    for (int depth = 0; depth < maxFocusDepth && inside > XCB_INPUT_FOCUS_POINTER_ROOT; ++depth) {
        if (inside == window) {
            return true;
        }
        const auto tree = xcbPtr(xcb_query_tree_reply(c, xcb_query_tree(c, inside), nullptr));
        inside = tree ? tree->parent : xcb_window_t(XCB_WINDOW_NONE);
    }
    return false;
}

bool isTerminal(xcb_connection_t* c, xcb_window_t window)
{
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

void X11KeySynthesizer::postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done)
{
    const std::uint32_t window = target.window;
    if (!isTrusted(false)) {
        done(PasteOutcome::unavailable);
        return;
    }
    m_pending.append({window, std::move(done)});
    if (m_poll.isActive()) {
        return; // already waiting; this paste goes out with the one queued before it
    }
    if (!isModifierHeld()) {
        postPending();
        return;
    }
    // Applications ignore Control+V while, say, Alt or Super is still down (a pick made with them
    // held): wait for the release without blocking, but not for ever.
    m_waiting.start();
    m_poll.start();
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
    postPending();
}

void X11KeySynthesizer::postPending()
{
    const QList<Pending> pending = std::exchange(m_pending, {});
    QList<PasteOutcome> outcomes(pending.size(), PasteOutcome::unavailable);
    if (xcb_connection_t* c = X11Connection::connection()) {
        const xcb_keycode_t control = keycodeFor(c, X11Keyboard::keysymControlL, controlPosition);
        const xcb_keycode_t shift = keycodeFor(c, X11Keyboard::keysymShiftL, shiftPosition);
        const xcb_keycode_t v = keycodeFor(c, X11Keyboard::keysymV, vPosition);
        // The window may have gone or lost the front while the keys waited. With the server held,
        // neither the window manager nor any other client can move the focus between the check
        // and the keys, and XTest delivers them before the server is let go.
        xcb_grab_server(c);
        for (qsizetype i = 0; i < pending.size(); ++i) {
            if (!holdsKeyboard(c, pending[i].window)) {
                outcomes[i] = PasteOutcome::windowNotActive;
                continue;
            }
            const bool withShift = isTerminal(c, pending[i].window);
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
            outcomes[i] = PasteOutcome::posted;
        }
        xcb_ungrab_server(c);
        xcb_flush(c);
    }
    for (qsizetype i = 0; i < pending.size(); ++i) {
        pending[i].done(outcomes[i]);
    }
}
