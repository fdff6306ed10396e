// Physical key positions in two numberings: macOS virtual key codes, as stored in the settings, and
// Linux evdev codes (an X keycode is the evdev code plus 8).
#pragma once

#include <cstdint>
#include <optional>

namespace KeyPositions {
std::optional<std::uint32_t> evdevCodeForMacKeyCode(std::uint32_t macKeyCode);
std::optional<std::uint32_t> macKeyCodeForEvdevCode(std::uint32_t evdevCode);

// X servers number keys from the evdev codes shifted by 8 (the V key: evdev 47, X keycode 55).
std::optional<std::uint32_t> xKeycodeForMacKeyCode(std::uint32_t macKeyCode);
std::optional<std::uint32_t> macKeyCodeForXKeycode(std::uint32_t xKeycode);
} // namespace KeyPositions
