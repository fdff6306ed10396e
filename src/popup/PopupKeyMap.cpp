// The popup's key table: Control+digit always picks, a plain digit only before anything is typed.
#include "popup/PopupKeyMap.h"

namespace {
int digitOf(int key)
{
    return key >= Qt::Key_1 && key <= Qt::Key_9 ? key - Qt::Key_0 : 0;
}

PopupKeyDecision consume(PopupKeyCommand command, int digit = 0)
{
    return {true, command, digit};
}
} // namespace

PopupKeyDecision PopupKeyMap::decide(const PopupKeyPress& press, bool digitPasteEnabled)
{
    const int key = press.key;
    const Qt::KeyboardModifiers modifiers = press.modifiers;
    if (modifiers.testFlag(Qt::ControlModifier)) {
        if (const int digit = digitOf(key)) {
            return consume(PopupKeyCommand::digit, digit);
        }
        if (key == Qt::Key_Backspace) {
            return consume(PopupKeyCommand::deleteItem);
        }
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return consume(PopupKeyCommand::activate);
    case Qt::Key_Escape:
        return consume(PopupKeyCommand::escape);
    case Qt::Key_Delete:
        return consume(PopupKeyCommand::deleteItem);
    case Qt::Key_Left:
        return consume(PopupKeyCommand::left);
    case Qt::Key_Right:
        return consume(PopupKeyCommand::right);
    default:
        break;
    }
    // Any modifier, the keypad and Caps Lock included, leaves the key to the search field.
    const Qt::KeyboardModifiers anyModifier = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                              Qt::MetaModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier;
    if ((modifiers & anyModifier) || press.capsLock) {
        return {};
    }
    if (const int digit = digitOf(key); digit != 0 && digitPasteEnabled) {
        return consume(PopupKeyCommand::digit, digit);
    }
    return {};
}
