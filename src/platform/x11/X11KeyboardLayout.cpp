#include "platform/x11/X11KeyboardLayout.h"

#include "platform/x11/X11Connection.h"

#include <xcb/xcb_keysyms.h>

std::optional<std::uint32_t> X11KeyboardLayout::baseKeysym(std::uint32_t nativeScanCode)
{
    xcb_connection_t* connection = X11Connection::connection();
    if (!connection || nativeScanCode > 255) {
        return std::nullopt;
    }
    // The mapping is read at each recorded key: it follows layout changes, and a recording is rare.
    const std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(xcb_key_symbols_alloc(connection),
                                                                                      &xcb_key_symbols_free);
    if (!symbols) {
        return std::nullopt;
    }
    const xcb_keysym_t keysym =
        xcb_key_symbols_get_keysym(symbols.get(), static_cast<xcb_keycode_t>(nativeScanCode), 0);
    if (keysym == XCB_NO_SYMBOL) {
        return std::nullopt;
    }
    return keysym;
}

bool X11KeyboardLayout::isCapsLockOn(std::uint32_t nativeModifiers) const
{
    // Qt hands on the key event's X state, where Caps Lock is the Lock bit.
    return (nativeModifiers & XCB_MOD_MASK_LOCK) != 0;
}
