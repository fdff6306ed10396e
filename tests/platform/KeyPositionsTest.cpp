// Key positions between macOS key codes and X keycodes.
#include "platform/KeyPositions.h"

#include "hotkey/HotkeyShortcut.h"

#include <gtest/gtest.h>

using KeyPositions::macKeyCodeForXKeycode;
using KeyPositions::xKeycodeForMacKeyCode;

TEST(KeyPositions, KnownKeysLandOnTheXKeycodesOfTheEvdevKeymap)
{
    // (macOS key code, X keycode of the evdev keymap)
    // The default shortcut's V, one or two of each group, and the function keys where the codes jump.
    const std::pair<std::uint32_t, std::uint32_t> known[] = {
        {9, 55},    // V
        {0, 38},    // A
        {29, 19},   // 0
        {50, 49},   // grave accent
        {49, 65},   // Space
        {53, 9},    // Escape
        {117, 119}, // Forward Delete
        {126, 111}, // Up
        {125, 116}, // Down
        {111, 96},  // F12
        {105, 191}, // F13
        {90, 198},  // F20
        {76, 104},  // keypad Enter
        {55, 133},  // Command: Super_L
    };
    for (const auto& [mac, x] : known) {
        EXPECT_EQ(xKeycodeForMacKeyCode(mac), x) << "mac key code " << mac;
        EXPECT_EQ(macKeyCodeForXKeycode(x), mac) << "X keycode " << x;
    }
}

TEST(KeyPositions, EveryKeyWithAFixedLabelHasAnXKeycodeAndComesBack)
{
    int labelled = 0;
    for (std::uint32_t mac = 0; mac < 128; ++mac) {
        if (!HotkeyShortcut::fixedKeyLabel(mac)) {
            continue;
        }
        ++labelled;
        const auto x = xKeycodeForMacKeyCode(mac);
        ASSERT_TRUE(x) << "mac key code " << mac;
        EXPECT_GE(*x, 8u);
        EXPECT_LE(*x, 255u);
        EXPECT_EQ(macKeyCodeForXKeycode(*x), mac);
    }
    EXPECT_EQ(labelled, 81);
}

TEST(KeyPositions, KeysWithoutAPositionGiveNothing)
{
    EXPECT_FALSE(xKeycodeForMacKeyCode(63));  // Fn
    EXPECT_FALSE(xKeycodeForMacKeyCode(500)); // no such key
    EXPECT_FALSE(macKeyCodeForXKeycode(0));
    EXPECT_FALSE(macKeyCodeForXKeycode(7));
    EXPECT_FALSE(macKeyCodeForXKeycode(255));
}
