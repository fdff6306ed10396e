// Turns the pieces of a desktop key event into the shortcut model's terms: platform flags and text.
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>

namespace KeyEventTranslation {
// Modifiers by key position: Super (Qt's Meta on X11) is Command, Alt is Option, Control is Control
// and Shift is Shift, as bits of the platform flag mask that HotkeyShortcut::carbonModifiersFrom
// reads. Keypad and group-switch state are not modifiers of a shortcut.
std::uint64_t platformFlagsFrom(Qt::KeyboardModifiers modifiers);

// The character an X keysym stands for, if it stands for one: printable Latin-1, the Unicode
// keysyms (0x01000000 + code point) and the keypad's digits and operators. Function and control
// keys give nothing.
std::optional<QString> charactersForKeysym(std::uint32_t keysym);

// Shift, Control, Option/Alt, Command/Super (either side), Caps Lock and Fn, by macOS key code:
// keys that only modify, and start no shortcut when pressed alone.
bool isModifierKey(std::uint32_t macKeyCode);
} // namespace KeyEventTranslation
