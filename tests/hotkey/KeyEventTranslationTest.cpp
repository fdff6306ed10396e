// Key events in the shortcut's terms: modifier keys, modifiers by position, the text of keysyms.
#include "hotkey/KeyEventTranslation.h"

#include "hotkey/HotkeyShortcut.h"
#include "platform/KeyPositions.h"

#include <gtest/gtest.h>

TEST(KeyEventTranslation, ModifierKeysByPosition)
{
    // Control, Shift, Alt, Super and Caps Lock on either side, as X keycodes of the evdev keymap.
    for (std::uint32_t xKeycode : {37u, 50u, 62u, 64u, 66u, 105u, 108u, 133u, 134u}) {
        const auto mac = KeyPositions::macKeyCodeForXKeycode(xKeycode);
        ASSERT_TRUE(mac.has_value()) << xKeycode;
        EXPECT_TRUE(KeyEventTranslation::isModifierKey(*mac)) << xKeycode;
    }
    for (std::uint32_t mac : {9u, 53u, 49u, 64u, 65u}) {
        EXPECT_FALSE(KeyEventTranslation::isModifierKey(mac)) << mac;
    }
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
