// The popup's key table: what it takes from the search field and what it leaves there.
#include "popup/PopupKeyMap.h"

#include <gtest/gtest.h>

namespace {
using Cmd = PopupKeyCommand;
constexpr auto none = Qt::NoModifier;

PopupKeyDecision decide(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool digitsEnabled = true,
                        bool capsLock = false)
{
    return PopupKeyMap::decide({key, modifiers, capsLock}, digitsEnabled);
}

TEST(PopupKeyMap, NavigationKeysAreTakenWithOrWithoutModifiers)
{
    EXPECT_EQ(decide(Qt::Key_Left), (PopupKeyDecision{true, Cmd::left, 0}));
    EXPECT_EQ(decide(Qt::Key_Right, Qt::ShiftModifier), (PopupKeyDecision{true, Cmd::right, 0}));
    EXPECT_EQ(decide(Qt::Key_Return, Qt::AltModifier), (PopupKeyDecision{true, Cmd::activate, 0}));
    EXPECT_EQ(decide(Qt::Key_Enter, Qt::KeypadModifier), (PopupKeyDecision{true, Cmd::activate, 0}));
    EXPECT_EQ(decide(Qt::Key_Escape), (PopupKeyDecision{true, Cmd::escape, 0}));
    EXPECT_EQ(decide(Qt::Key_Delete), (PopupKeyDecision{true, Cmd::deleteItem, 0}));
    EXPECT_EQ(decide(Qt::Key_Backspace, Qt::ControlModifier), (PopupKeyDecision{true, Cmd::deleteItem, 0}));
}

TEST(PopupKeyMap, KeysTheSearchFieldKeeps)
{
    for (int key : {int(Qt::Key_Up), int(Qt::Key_Down), int(Qt::Key_Tab), int(Qt::Key_Backspace), int(Qt::Key_A)}) {
        EXPECT_FALSE(decide(key).consume) << key;
    }
    EXPECT_FALSE(decide(Qt::Key_V, Qt::ControlModifier).consume) << "Control+V pastes into the search";
    EXPECT_FALSE(decide(Qt::Key_0).consume) << "0 types a zero";
    EXPECT_FALSE(decide(Qt::Key_Exclam, Qt::ShiftModifier).consume) << "Shift+1 types '!'";
}

TEST(PopupKeyMap, DigitRules)
{
    // Control+digit picks whether or not something is typed; Control+Alt+digit too (as plain text).
    EXPECT_EQ(decide(Qt::Key_3, Qt::ControlModifier, false), (PopupKeyDecision{true, Cmd::digit, 3}));
    EXPECT_EQ(decide(Qt::Key_3, Qt::ControlModifier | Qt::AltModifier, false), (PopupKeyDecision{true, Cmd::digit, 3}));
    EXPECT_EQ(decide(Qt::Key_9, Qt::ControlModifier | Qt::KeypadModifier), (PopupKeyDecision{true, Cmd::digit, 9}));
    // Plain digits pick only with an empty query.
    EXPECT_EQ(decide(Qt::Key_5, none, true), (PopupKeyDecision{true, Cmd::digit, 5}));
    EXPECT_FALSE(decide(Qt::Key_3, none, false).consume);
    // Keypad digits without Control never pick; neither do Alt+digit or Shift+digit.
    EXPECT_FALSE(decide(Qt::Key_3, Qt::KeypadModifier, true).consume);
    EXPECT_FALSE(decide(Qt::Key_3, Qt::AltModifier, true).consume);
    EXPECT_FALSE(decide(Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier, true).consume);
    // Caps Lock on: a plain digit types into the empty search; it is no command key, so
    // Control+digit, Control+Backspace and the arrows work as without it.
    EXPECT_FALSE(decide(Qt::Key_4, none, true, true).consume);
    EXPECT_EQ(decide(Qt::Key_4, Qt::ControlModifier, true, true), (PopupKeyDecision{true, Cmd::digit, 4}));
    EXPECT_EQ(decide(Qt::Key_Backspace, Qt::ControlModifier, true, true), (PopupKeyDecision{true, Cmd::deleteItem, 0}));
    EXPECT_EQ(decide(Qt::Key_Left, none, true, true), (PopupKeyDecision{true, Cmd::left, 0}));
    EXPECT_FALSE(decide(Qt::Key_Backspace, none, true, true).consume);
}
} // namespace
