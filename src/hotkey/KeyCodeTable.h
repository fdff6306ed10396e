// Key positions in both numberings: the stored macOS virtual key codes and Linux evdev codes.
#pragma once

#include <cstdint>
#include <optional>

// Shortcuts are stored as macOS virtual key codes (a physical key position, 9 is the key that types
// V on a US layout). Linux numbers the same positions with evdev codes, and X11 keycodes are evdev
// codes plus 8 under the evdev driver every current X server uses. Keys without a counterpart on the
// other side (Print, Scroll Lock, F21 and up; the Fn key on most PC keyboards) have no entry.
namespace KeyCodeTable {
inline constexpr std::uint32_t xKeycodeOffset = 8;

std::optional<std::uint32_t> macKeyCodeForEvdev(std::uint32_t evdevCode);
std::optional<std::uint32_t> evdevForMacKeyCode(std::uint32_t macKeyCode);

std::optional<std::uint32_t> macKeyCodeForXKeycode(std::uint32_t xKeycode);
std::optional<std::uint32_t> xKeycodeForMacKeyCode(std::uint32_t macKeyCode);

// Shift, Control, Option/Alt, Command/Super (either side), Caps Lock and Fn: keys that only modify.
bool isModifierKey(std::uint32_t macKeyCode);
} // namespace KeyCodeTable
