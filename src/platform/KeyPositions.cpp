#include "platform/KeyPositions.h"

#include <array>
#include <utility>

namespace {
constexpr std::uint32_t xKeycodeOffset = 8;

// (macOS virtual key code, evdev code). Mac keys are named by their US ANSI position; a Mac key
// that a PC keyboard has in another place maps to the key that sits where it sits (Help is Insert,
// the keypad's Clear is Num Lock). Keys without a PC counterpart (Fn, Eisu, Kana) are left out.
// clang-format off
constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 117> table{{
    // Letters
    {0, 30}, {11, 48}, {8, 46}, {2, 32}, {14, 18}, {3, 33}, {5, 34}, {4, 35}, {34, 23}, {38, 36},
    {40, 37}, {37, 38}, {46, 50}, {45, 49}, {31, 24}, {35, 25}, {12, 16}, {15, 19}, {1, 31}, {17, 20},
    {32, 22}, {9, 47}, {13, 17}, {7, 45}, {16, 21}, {6, 44},
    // Digits
    {29, 11}, {18, 2}, {19, 3}, {20, 4}, {21, 5}, {23, 6}, {22, 7}, {26, 8}, {28, 9}, {25, 10},
    // Punctuation
    {50, 41}, {27, 12}, {24, 13}, {33, 26}, {30, 27}, {42, 43}, {41, 39}, {39, 40}, {43, 51}, {47, 52},
    {44, 53},
    // ISO and JIS extra keys
    {10, 86}, {93, 124}, {94, 89}, {95, 95},
    // Named keys
    {49, 57}, {48, 15}, {36, 28}, {53, 1}, {51, 14}, {117, 111}, {114, 110}, {110, 127}, {123, 105},
    {124, 106}, {126, 103}, {125, 108}, {115, 102}, {119, 107}, {116, 104}, {121, 109},
    // Modifiers
    {55, 125}, {54, 126}, {56, 42}, {60, 54}, {58, 56}, {61, 100}, {59, 29}, {62, 97}, {57, 58},
    // Function keys
    {122, 59}, {120, 60}, {99, 61}, {118, 62}, {96, 63}, {97, 64}, {98, 65}, {100, 66}, {101, 67},
    {109, 68}, {103, 87}, {111, 88}, {105, 183}, {107, 184}, {113, 185}, {106, 186}, {64, 187},
    {79, 188}, {80, 189}, {90, 190},
    // Keypad
    {82, 82}, {83, 79}, {84, 80}, {85, 81}, {86, 75}, {87, 76}, {88, 77}, {89, 71}, {91, 72}, {92, 73},
    {65, 83}, {67, 55}, {69, 78}, {75, 98}, {78, 74}, {76, 96}, {81, 117}, {71, 69},
    // Media keys
    {72, 115}, {73, 114}, {74, 113},
}};
// clang-format on
} // namespace

std::optional<std::uint32_t> KeyPositions::evdevCodeForMacKeyCode(std::uint32_t macKeyCode)
{
    for (const auto& [mac, evdev] : table) {
        if (mac == macKeyCode) {
            return evdev;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> KeyPositions::macKeyCodeForEvdevCode(std::uint32_t evdevCode)
{
    for (const auto& [mac, evdev] : table) {
        if (evdev == evdevCode) {
            return mac;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> KeyPositions::xKeycodeForMacKeyCode(std::uint32_t macKeyCode)
{
    if (auto evdev = evdevCodeForMacKeyCode(macKeyCode)) {
        return *evdev + xKeycodeOffset;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> KeyPositions::macKeyCodeForXKeycode(std::uint32_t xKeycode)
{
    if (xKeycode < xKeycodeOffset) {
        return std::nullopt;
    }
    return macKeyCodeForEvdevCode(xKeycode - xKeycodeOffset);
}
