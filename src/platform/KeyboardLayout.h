// What the keyboard layout prints on a key, as the shortcut recorder needs it: the key's own symbol,
// whatever Shift, Num Lock or Caps Lock would make of it.
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
};
