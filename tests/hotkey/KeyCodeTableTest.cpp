#include "hotkey/KeyCodeTable.h"

#include "hotkey/HotkeyShortcut.h"
#include "hotkey/KeyEventTranslation.h"

#include <gtest/gtest.h>
#include <set>

TEST(KeyCodeTable, KnownPositionsBothWays)
{
    // V: macOS 9, evdev 47, X keycode 55.
    EXPECT_EQ(KeyCodeTable::macKeyCodeForEvdev(47), 9u);
    EXPECT_EQ(KeyCodeTable::evdevForMacKeyCode(9), 47u);
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(55), 9u);
    EXPECT_EQ(KeyCodeTable::xKeycodeForMacKeyCode(9), 55u);

    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(9), 53u);    // Escape
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(65), 49u);   // Space
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(45), 40u);   // K
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(22), 51u);   // BackSpace is the Mac Delete
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(119), 117u); // Delete is Forward Delete
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(67), 122u);  // F1
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(113), 123u); // Left
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(94), 10u);   // the ISO key
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(133), 55u);  // Super_L is Command

    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(107), std::nullopt); // Print
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(0), std::nullopt);
    EXPECT_EQ(KeyCodeTable::macKeyCodeForXKeycode(7), std::nullopt);
    EXPECT_EQ(KeyCodeTable::evdevForMacKeyCode(52), std::nullopt); // no such Mac key
}

TEST(KeyCodeTable, EveryLabelledKeyHasAPositionAndTheTableIsOneToOne)
{
    std::set<std::uint32_t> evdevSeen;
    for (std::uint32_t mac = 0; mac < 128; ++mac) {
        const auto evdev = KeyCodeTable::evdevForMacKeyCode(mac);
        if (HotkeyShortcut::fixedKeyLabel(mac)) {
            EXPECT_TRUE(evdev.has_value()) << "no position for key code " << mac;
        }
        if (evdev) {
            EXPECT_TRUE(evdevSeen.insert(*evdev).second) << "evdev " << *evdev << " used twice";
            EXPECT_EQ(KeyCodeTable::macKeyCodeForEvdev(*evdev), mac);
        }
    }
    for (std::uint32_t evdev = 0; evdev < 600; ++evdev) {
        if (const auto mac = KeyCodeTable::macKeyCodeForEvdev(evdev)) {
            EXPECT_EQ(KeyCodeTable::evdevForMacKeyCode(*mac), evdev);
        }
    }
}

TEST(KeyCodeTable, ModifierKeys)
{
    for (std::uint32_t xKeycode : {37u, 50u, 62u, 64u, 66u, 105u, 108u, 133u, 134u}) {
        const auto mac = KeyCodeTable::macKeyCodeForXKeycode(xKeycode);
        ASSERT_TRUE(mac.has_value()) << xKeycode;
        EXPECT_TRUE(KeyCodeTable::isModifierKey(*mac)) << xKeycode;
    }
    EXPECT_FALSE(KeyCodeTable::isModifierKey(9));
    EXPECT_FALSE(KeyCodeTable::isModifierKey(53));
}

TEST(KeyEventTranslation, ModifiersByPosition)
{
    using KeyEventTranslation::platformFlagsFrom;
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(platformFlagsFrom(Qt::MetaModifier | Qt::ShiftModifier)), 0x300u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(
                  platformFlagsFrom(Qt::MetaModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier)),
              0x1B00u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(platformFlagsFrom(Qt::ControlModifier | Qt::AltModifier)), 0x1800u);
    EXPECT_EQ(platformFlagsFrom(Qt::KeypadModifier | Qt::GroupSwitchModifier), 0u);
}

TEST(KeyEventTranslation, KeysymCharacters)
{
    using KeyEventTranslation::charactersForKeysym;
    EXPECT_EQ(charactersForKeysym(0x6b), QStringLiteral("k"));
    EXPECT_EQ(charactersForKeysym(0xa7), QStringLiteral("\u00a7")); // section
    EXPECT_EQ(charactersForKeysym(0xe9), QStringLiteral("\u00e9"));
    EXPECT_EQ(charactersForKeysym(0x010020ac), QStringLiteral("\u20ac")); // Unicode keysym: euro
    EXPECT_EQ(charactersForKeysym(0x0101f600), QString::fromUcs4(U"\U0001F600", 1));
    EXPECT_EQ(charactersForKeysym(0xffb7), QStringLiteral("7")); // KP_7
    EXPECT_EQ(charactersForKeysym(0xffab), QStringLiteral("+"));
    EXPECT_EQ(charactersForKeysym(0x20), QStringLiteral(" "));
    EXPECT_EQ(charactersForKeysym(0xffbe), std::nullopt);     // F1
    EXPECT_EQ(charactersForKeysym(0xff1b), std::nullopt);     // Escape
    EXPECT_EQ(charactersForKeysym(0x0100d800), std::nullopt); // a surrogate
    EXPECT_EQ(charactersForKeysym(0x01000007), std::nullopt);
    EXPECT_EQ(charactersForKeysym(0), std::nullopt);
}
