// The shortcut value: display string, validity, modifier conversion and key labels.
#include "hotkey/HotkeyShortcut.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t command = HotkeyShortcut::commandKey;
constexpr std::uint32_t shift = HotkeyShortcut::shiftKey;
constexpr std::uint32_t option = HotkeyShortcut::optionKey;
constexpr std::uint32_t control = HotkeyShortcut::controlKey;

QString label(std::uint32_t keyCode, const std::optional<QString>& characters = std::nullopt)
{
    return HotkeyShortcut::keyLabelForKeyCode(keyCode, characters);
}
} // namespace

TEST(HotkeyShortcut, DefaultIsCommandShiftV)
{
    const HotkeyShortcut shortcut = HotkeyShortcut::defaultShortcut();
    EXPECT_EQ(shortcut.keyCode, 9u);
    EXPECT_EQ(shortcut.carbonModifiers, 0x300u);
    EXPECT_EQ(shortcut.keyLabel, QStringLiteral("V"));
    EXPECT_EQ(shortcut.displayString(), QStringLiteral("Super+Shift+V"));
    EXPECT_TRUE(shortcut.isValid());
    EXPECT_EQ(shortcut, HotkeyShortcut{});
    EXPECT_NE(shortcut, (HotkeyShortcut{9, 0x300, QStringLiteral("v")}));
}

TEST(HotkeyShortcut, DisplayStringNamesKeysAsThisDesktopDoes)
{
    EXPECT_EQ((HotkeyShortcut{40, command | shift | option | control, QStringLiteral("K")}.displayString()),
              QStringLiteral("Super+Ctrl+Alt+Shift+K"));
    EXPECT_EQ((HotkeyShortcut{40, control | option, QStringLiteral("K")}.displayString()),
              QStringLiteral("Ctrl+Alt+K"));
    EXPECT_EQ((HotkeyShortcut{96, 0, QStringLiteral("F5")}.displayString()), QStringLiteral("F5"));
    // Bits outside the four modifiers show nothing.
    EXPECT_EQ((HotkeyShortcut{0, 0x400 | command, QStringLiteral("A")}.displayString()), QStringLiteral("Super+A"));
    // Stored Mac names of keys read as this desktop names them; a label recorded otherwise stays.
    EXPECT_EQ((HotkeyShortcut{123, control, QStringLiteral("\u2190")}.displayString()), QStringLiteral("Ctrl+Left"));
    EXPECT_EQ((HotkeyShortcut{51, control, QStringLiteral("Delete")}.displayString()),
              QStringLiteral("Ctrl+Backspace"));
    EXPECT_EQ((HotkeyShortcut{117, control, QStringLiteral("Forward Delete")}.displayString()),
              QStringLiteral("Ctrl+Delete"));
    EXPECT_EQ((HotkeyShortcut{123, control, QStringLiteral("X")}.displayString()), QStringLiteral("Ctrl+X"));
}

TEST(HotkeyShortcut, ValidNeedsCommandOptionOrControlAndALabel)
{
    EXPECT_FALSE((HotkeyShortcut{40, shift, QStringLiteral("K")}.isValid()));
    EXPECT_FALSE((HotkeyShortcut{40, 0, QStringLiteral("K")}.isValid()));
    EXPECT_TRUE((HotkeyShortcut{40, option, QStringLiteral("K")}.isValid()));
    EXPECT_TRUE((HotkeyShortcut{40, control | shift, QStringLiteral("K")}.isValid()));
    EXPECT_FALSE((HotkeyShortcut{40, command, QString()}.isValid()));
    // The key code is not examined.
    EXPECT_TRUE((HotkeyShortcut{0xFFFFFFFF, command, QStringLiteral("?")}.isValid()));
}

TEST(HotkeyShortcut, CarbonModifiersFromPlatformFlags)
{
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(0x100000 | 0x20000), 0x300u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(0x40000 | 0x80000 | 0x100000 | 0x20000), 0x1B00u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(0x40000), 0x1000u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(0x80000), 0x800u);
    // Caps Lock, Fn, the numeric pad and device-dependent bits are ignored.
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(0x10000), 0u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(0x800000 | 0x200000 | 0xFFFF), 0u);
    EXPECT_EQ(HotkeyShortcut::carbonModifiersFrom(~std::uint64_t{0}), 0x1B00u);
}

TEST(HotkeyShortcut, FixedLabelTableHasEightyOneKeys)
{
    int count = 0;
    for (std::uint32_t code = 0; code < 0x10000; ++code) {
        if (HotkeyShortcut::fixedKeyLabel(code)) {
            ++count;
        }
    }
    EXPECT_EQ(count, 81);

    // One or two of each group, and the arrows, whose key codes do not run in screen order.
    const std::pair<std::uint32_t, QString> samples[] = {
        {0, QStringLiteral("A")},        {6, QStringLiteral("Z")},
        {29, QStringLiteral("0")},       {25, QStringLiteral("9")},
        {42, QStringLiteral("\\")},      {49, QStringLiteral("Space")},
        {53, QStringLiteral("Esc")},     {117, QStringLiteral("Forward Delete")},
        {125, QStringLiteral("\u2193")}, {126, QStringLiteral("\u2191")},
        {122, QStringLiteral("F1")},     {90, QStringLiteral("F20")},
    };
    for (const auto& [code, expected] : samples) {
        EXPECT_EQ(HotkeyShortcut::fixedKeyLabel(code), expected) << "key code " << code;
    }
    for (std::uint32_t code : {10u, 52u, 65u, 76u, 114u, 127u}) {
        EXPECT_FALSE(HotkeyShortcut::fixedKeyLabel(code)) << "key code " << code;
    }
}

TEST(HotkeyShortcut, KeyLabelPrefersTableThenCharactersThenKeyCode)
{
    EXPECT_EQ(label(49, QStringLiteral("x")), QStringLiteral("Space"));
    EXPECT_EQ(label(0, QStringLiteral("q")), QStringLiteral("A")); // the table wins on every layout
    EXPECT_EQ(label(10, QStringLiteral("§")), QStringLiteral("§"));
    EXPECT_EQ(label(10, QStringLiteral("é")), QStringLiteral("É"));
    EXPECT_EQ(label(10, QStringLiteral("ab")), QStringLiteral("A"));
    // The first character is a whole grapheme: e with a combining acute accent.
    EXPECT_EQ(label(10, QStringLiteral("e\u0301x")), QStringLiteral("E\u0301"));
    EXPECT_EQ(label(10, QStringLiteral("ß")), QStringLiteral("SS"));

    EXPECT_EQ(label(10, QStringLiteral(" ")), QStringLiteral("Key 10"));
    EXPECT_EQ(label(10, QStringLiteral("\n")), QStringLiteral("Key 10"));
    EXPECT_EQ(label(10, QStringLiteral("\u00A0")), QStringLiteral("Key 10"));
    EXPECT_EQ(label(10, QString()), QStringLiteral("Key 10"));
    EXPECT_EQ(label(10), QStringLiteral("Key 10"));
    EXPECT_EQ(label(4294967295u), QStringLiteral("Key 4294967295"));
}
