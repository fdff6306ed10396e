// What the X server's keyboard mapping says about keys: which keycodes carry a keysym, which are
// modifiers, and which modifier bit Num Lock sets.
#pragma once

#include <QList>
#include <optional>
#include <xcb/xcb.h>

namespace X11Keyboard {
// Keysyms used here (from X11/keysymdef.h).
constexpr xcb_keysym_t keysymNumLock = 0xff7f;
constexpr xcb_keysym_t keysymShiftL = 0xffe1;
constexpr xcb_keysym_t keysymControlL = 0xffe3;
constexpr xcb_keysym_t keysymV = 0x0076;

// The modifier bit (Mod1..Mod5) that Num Lock is mapped to, or 0 when it is on none.
std::uint16_t numLockMask(xcb_connection_t* connection);
// Every keycode the modifier mapping lists, for any of the eight modifiers.
QList<xcb_keycode_t> modifierKeycodes(xcb_connection_t* connection);
// The first keycode that produces the keysym in any column of the mapping.
std::optional<xcb_keycode_t> keycodeForKeysym(xcb_connection_t* connection, xcb_keysym_t keysym);
// Whether the keycode is within the server's range and produces at least one keysym.
bool isMappedKeycode(xcb_connection_t* connection, xcb_keycode_t keycode);
} // namespace X11Keyboard
