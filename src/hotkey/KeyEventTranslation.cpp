#include "hotkey/KeyEventTranslation.h"

#include "hotkey/HotkeyShortcut.h"

#include <utility>

std::uint64_t KeyEventTranslation::platformFlagsFrom(Qt::KeyboardModifiers modifiers)
{
    std::uint64_t flags = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        flags |= HotkeyShortcut::shiftFlag;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        flags |= HotkeyShortcut::controlFlag;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        flags |= HotkeyShortcut::optionFlag;
    }
    if (modifiers.testFlag(Qt::MetaModifier)) {
        flags |= HotkeyShortcut::commandFlag;
    }
    return flags;
}

std::optional<QString> KeyEventTranslation::charactersForKeysym(std::uint32_t keysym)
{
    char32_t codePoint = 0;
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff)) {
        codePoint = keysym; // Latin-1 keysyms are their own code points
    } else if (keysym >= 0x01000100 && keysym <= 0x0110ffff) {
        codePoint = keysym - 0x01000000;
    } else if (keysym >= 0xffb0 && keysym <= 0xffb9) {
        codePoint = U'0' + (keysym - 0xffb0); // KP_0 … KP_9
    } else {
        // The keypad's operators.
        static constexpr std::pair<std::uint32_t, char32_t> keypad[]{
            {0xffaa, U'*'}, {0xffab, U'+'}, {0xffac, U','}, {0xffad, U'-'},
            {0xffae, U'.'}, {0xffaf, U'/'}, {0xffbd, U'='},
        };
        for (const auto& [sym, character] : keypad) {
            if (sym == keysym) {
                codePoint = character;
            }
        }
        if (codePoint == 0) {
            return std::nullopt;
        }
    }
    // Surrogates and control characters are not text.
    if ((codePoint >= 0xd800 && codePoint <= 0xdfff) || codePoint < 0x20 || (codePoint >= 0x7f && codePoint < 0xa0)) {
        return std::nullopt;
    }
    return QString::fromUcs4(&codePoint, 1);
}

bool KeyEventTranslation::isModifierKey(std::uint32_t macKeyCode)
{
    // Right Command, Command, Shift, Caps Lock, Option, Control, right Shift, right Option, right
    // Control and Fn: the block 54-63 of the macOS numbering.
    return macKeyCode >= 54 && macKeyCode <= 63;
}
