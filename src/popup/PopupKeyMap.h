// Which keys the popup takes for itself before the search field sees them, and what they do.
#pragma once

#include <Qt>

enum class PopupKeyCommand { none, left, right, activate, escape, deleteItem, digit };

struct PopupKeyDecision
{
    bool consume = false; // false: the key goes on to the search field unchanged
    PopupKeyCommand command = PopupKeyCommand::none;
    int digit = 0; // 1 to 9 for PopupKeyCommand::digit

    bool operator==(const PopupKeyDecision&) const = default;
};

// One key press as the popup reads it.
struct PopupKeyPress
{
    // The Qt key, which already reflects Shift ("!" for Shift+1) and no other modifier.
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    // Qt has no flag for it: Caps Lock comes from the event's native state.
    bool capsLock = false;
};

namespace PopupKeyMap {
// Control plays the part of the command key, Alt that of the option key. Caps Lock is a modifier
// like Shift: it keeps a plain digit for the search field, but never stands in for Control.
PopupKeyDecision decide(const PopupKeyPress& press, bool digitPasteEnabled);
} // namespace PopupKeyMap
