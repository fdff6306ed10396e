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

namespace PopupKeyMap {
// `key` is the Qt key of the press, which already reflects Shift ("!" for Shift+1) and no other
// modifier. Control plays the part of the command key, Alt that of the option key.
PopupKeyDecision decide(int key, Qt::KeyboardModifiers modifiers, bool digitPasteEnabled);
} // namespace PopupKeyMap
