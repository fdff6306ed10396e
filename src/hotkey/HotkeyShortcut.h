// The global shortcut as a value: a macOS virtual key code, a Carbon modifier mask and a key label.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

struct HotkeyShortcut
{
    // Carbon modifier bits.
    static constexpr std::uint32_t commandKey = 0x100;
    static constexpr std::uint32_t shiftKey = 0x200;
    static constexpr std::uint32_t optionKey = 0x800;
    static constexpr std::uint32_t controlKey = 0x1000;

    // Platform modifier flags of a key event, in the bit positions the conversion expects.
    static constexpr std::uint64_t shiftFlag = 0x20000;
    static constexpr std::uint64_t controlFlag = 0x40000;
    static constexpr std::uint64_t optionFlag = 0x80000;
    static constexpr std::uint64_t commandFlag = 0x100000;

    std::uint32_t keyCode = 9;
    std::uint32_t carbonModifiers = commandKey | shiftKey;
    QString keyLabel = QStringLiteral("V");

    static HotkeyShortcut defaultShortcut();

    // The shortcut as this desktop writes it, modifiers in KDE's order: "Super+Shift+V", "Ctrl+Alt+K".
    QString displayString() const;
    bool isValid() const;

    static std::uint32_t carbonModifiersFrom(std::uint64_t platformFlags);
    static QString keyLabelForKeyCode(std::uint32_t keyCode, const std::optional<QString>& characters);
    // The layout-independent label of a key, if it has one.
    static std::optional<QString> fixedKeyLabel(std::uint32_t keyCode);

    bool operator==(const HotkeyShortcut& other) const = default;
};
