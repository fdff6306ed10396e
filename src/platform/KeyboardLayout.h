// What the keyboard says about a key beyond what Qt's key events tell: the symbol the layout prints
// on it (the shortcut recorder's label, whatever Shift, Num Lock or Caps Lock would make of it), and
// whether Caps Lock was on when it was pressed.
#pragma once

#include <cstdint>
#include <optional>

class KeyboardLayout
{
public:
    virtual ~KeyboardLayout() = default;

    // The keysym of the key's first level in the first layout, for the native scan code a key event
    // carries (an X keycode); nothing when the layout gives that key no symbol.
    virtual std::optional<std::uint32_t> baseKeysym(std::uint32_t nativeScanCode) = 0;
    // Whether the native modifier state a key event carries has Caps Lock on; a backend that
    // cannot tell reads it as off.
    virtual bool isCapsLockOn(std::uint32_t /*nativeModifiers*/) const { return false; }
};
