#include "platform/x11/X11HotkeyRegistrar.h"

#include "hotkey/HotkeyShortcut.h"
#include "platform/KeyPositions.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keyboard.h"

#include <QCoreApplication>

namespace {
constexpr std::uint8_t badAccess = 10;
// Longer than the server's auto-repeat delay (660 ms by default): a press that comes later than this
// after the last one is a new press even if its release never reached us.
constexpr xcb_timestamp_t repeatWindowMs = 700;
} // namespace

X11HotkeyRegistrar::~X11HotkeyRegistrar()
{
    unregisterHotKey();
    removeHandler();
}

std::uint16_t X11HotkeyRegistrar::xModifiersForCarbon(std::uint32_t carbonModifiers)
{
    std::uint16_t mask = 0;
    if (carbonModifiers & HotkeyShortcut::commandKey) {
        mask |= XCB_MOD_MASK_4;
    }
    if (carbonModifiers & HotkeyShortcut::shiftKey) {
        mask |= XCB_MOD_MASK_SHIFT;
    }
    if (carbonModifiers & HotkeyShortcut::optionKey) {
        mask |= XCB_MOD_MASK_1;
    }
    if (carbonModifiers & HotkeyShortcut::controlKey) {
        mask |= XCB_MOD_MASK_CONTROL;
    }
    return mask;
}

std::int32_t X11HotkeyRegistrar::installHandler(std::function<void()> onPressed)
{
    if (!X11Connection::connection() || !QCoreApplication::instance()) {
        return eventInternalErr;
    }
    m_onPressed = std::move(onPressed);
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return noErr;
}

void X11HotkeyRegistrar::removeHandler()
{
    if (m_filterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    m_filterInstalled = false;
    m_onPressed = nullptr;
}

std::int32_t X11HotkeyRegistrar::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t,
                                                std::uint32_t)
{
    xcb_connection_t* c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    if (!c || root == XCB_WINDOW_NONE) {
        return eventInternalErr;
    }
    ungrab();

    const auto keycode = KeyPositions::xKeycodeForMacKeyCode(keyCode);
    if (!keycode || *keycode > 255 || !X11Keyboard::isMappedKeycode(c, static_cast<xcb_keycode_t>(*keycode))) {
        return eventHotKeyInvalidErr;
    }

    Grab grab;
    grab.root = root;
    grab.keycode = static_cast<xcb_keycode_t>(*keycode);
    grab.modifiers = xModifiersForCarbon(modifiers);
    const std::uint16_t numLock = X11Keyboard::numLockMask(c);
    grab.ignoredLocks = XCB_MOD_MASK_LOCK | numLock;
    // The shortcut must work whatever state Caps Lock and Num Lock are in, and X matches a grab
    // against the exact modifier state: one grab per combination.
    for (const std::uint16_t locks :
         {std::uint16_t(0), std::uint16_t(XCB_MOD_MASK_LOCK), numLock, std::uint16_t(XCB_MOD_MASK_LOCK | numLock)}) {
        if (!grab.lockCombinations.contains(locks)) {
            grab.lockCombinations.append(locks);
        }
    }

    QList<xcb_void_cookie_t> cookies;
    for (const std::uint16_t locks : grab.lockCombinations) {
        // owner_events false: the press reaches us on the root window even while one of our own
        // windows (the popup) has the focus.
        cookies.append(xcb_grab_key_checked(c, 0, root, grab.modifiers | locks, grab.keycode, XCB_GRAB_MODE_ASYNC,
                                            XCB_GRAB_MODE_ASYNC));
    }
    std::int32_t status = noErr;
    for (const xcb_void_cookie_t cookie : cookies) {
        const auto error = xcbPtr(xcb_request_check(c, cookie));
        if (error && status == noErr) {
            // BadAccess: another client holds this combination.
            status = error->error_code == badAccess ? eventHotKeyExistsErr : eventInternalErr;
        }
    }
    m_grab = grab;
    if (status != noErr) {
        // Ungrabbing only ever releases this client's grabs, so undoing all combinations is safe.
        ungrab();
        return status;
    }
    m_keyDown = false;
    return noErr;
}

void X11HotkeyRegistrar::unregisterHotKey()
{
    ungrab();
}

void X11HotkeyRegistrar::ungrab()
{
    if (!m_grab) {
        return;
    }
    if (xcb_connection_t* c = X11Connection::connection()) {
        for (const std::uint16_t locks : m_grab->lockCombinations) {
            xcb_ungrab_key(c, m_grab->keycode, m_grab->root, m_grab->modifiers | locks);
        }
        xcb_flush(c);
    }
    m_grab.reset();
    m_keyDown = false;
}

bool X11HotkeyRegistrar::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!m_grab || eventType != "xcb_generic_event_t") {
        return false;
    }
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    const std::uint16_t state = key->state & 0xff & ~m_grab->ignoredLocks;
    if (key->event != m_grab->root || key->detail != m_grab->keycode) {
        return false;
    }
    if (type == XCB_KEY_RELEASE) {
        m_keyDown = false;
        m_lastReleaseTime = key->time;
        return true;
    }
    if (state != m_grab->modifiers) {
        return false;
    }
    // A held key repeats: either as presses alone (detectable auto-repeat) or as release and press
    // pairs with one timestamp. Only the first press counts.
    const bool isRepeat = (m_keyDown && key->time - m_lastPressTime < repeatWindowMs) ||
                          (m_lastReleaseTime != 0 && key->time == m_lastReleaseTime);
    m_keyDown = true;
    m_lastPressTime = key->time;
    if (!isRepeat && m_onPressed) {
        m_onPressed();
    }
    return true;
}
