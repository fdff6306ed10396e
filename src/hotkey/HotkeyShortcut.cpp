#include "hotkey/HotkeyShortcut.h"

#include <QHash>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace {
const QHash<std::uint32_t, QString>& fixedKeyLabels()
{
    // Positions of the US (ANSI) layout; consulted before any layout-dependent text.
    static const QHash<std::uint32_t, QString> labels{
        {0, "A"},
        {11, "B"},
        {8, "C"},
        {2, "D"},
        {14, "E"},
        {3, "F"},
        {5, "G"},
        {4, "H"},
        {34, "I"},
        {38, "J"},
        {40, "K"},
        {37, "L"},
        {46, "M"},
        {45, "N"},
        {31, "O"},
        {35, "P"},
        {12, "Q"},
        {15, "R"},
        {1, "S"},
        {17, "T"},
        {32, "U"},
        {9, "V"},
        {13, "W"},
        {7, "X"},
        {16, "Y"},
        {6, "Z"},
        {29, "0"},
        {18, "1"},
        {19, "2"},
        {20, "3"},
        {21, "4"},
        {23, "5"},
        {22, "6"},
        {26, "7"},
        {28, "8"},
        {25, "9"},
        {50, "`"},
        {27, "-"},
        {24, "="},
        {33, "["},
        {30, "]"},
        {42, "\\"},
        {41, ";"},
        {39, "'"},
        {43, ","},
        {47, "."},
        {44, "/"},
        {49, "Space"},
        {48, "Tab"},
        {36, "Return"},
        {53, "Esc"},
        {51, "Delete"},
        {117, "Forward Delete"},
        {123, "\u2190"},
        {124, "\u2192"},
        {126, "\u2191"},
        {125, "\u2193"},
        {115, "Home"},
        {119, "End"},
        {116, "Page Up"},
        {121, "Page Down"},
        {122, "F1"},
        {120, "F2"},
        {99, "F3"},
        {118, "F4"},
        {96, "F5"},
        {97, "F6"},
        {98, "F7"},
        {100, "F8"},
        {101, "F9"},
        {109, "F10"},
        {103, "F11"},
        {111, "F12"},
        {105, "F13"},
        {107, "F14"},
        {113, "F15"},
        {106, "F16"},
        {64, "F17"},
        {79, "F18"},
        {80, "F19"},
        {90, "F20"},
    };
    return labels;
}

// The numeric keypad, which the fixed table leaves out: its keys print digits or symbols only with
// Num Lock on, so their text would change with a lock key; they read as what they are.
const QHash<std::uint32_t, QString>& keypadKeyLabels()
{
    static const QHash<std::uint32_t, QString> labels{
        {82, "Keypad 0"}, {83, "Keypad 1"}, {84, "Keypad 2"},     {85, "Keypad 3"}, {86, "Keypad 4"}, {87, "Keypad 5"},
        {88, "Keypad 6"}, {89, "Keypad 7"}, {91, "Keypad 8"},     {92, "Keypad 9"}, {65, "Keypad ."}, {67, "Keypad *"},
        {69, "Keypad +"}, {75, "Keypad /"}, {76, "Keypad Enter"}, {78, "Keypad -"}, {81, "Keypad ="}, {71, "Num Lock"},
    };
    return labels;
}

// The stored labels name a few keys as a Mac keyboard does; shown, they take this desktop's names.
QString linuxKeyName(std::uint32_t keyCode, const QString& label)
{
    static const QHash<std::uint32_t, std::pair<QString, QString>> names{
        {123, {"\u2190", "Left"}}, {124, {"\u2192", "Right"}},    {126, {"\u2191", "Up"}},
        {125, {"\u2193", "Down"}}, {51, {"Delete", "Backspace"}}, {117, {"Forward Delete", "Delete"}},
    };
    const auto found = names.constFind(keyCode);
    return found != names.constEnd() && found->first == label ? found->second : label;
}

QString firstGrapheme(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = finder.toNextBoundary();
    return end > 0 ? text.left(end) : text;
}
} // namespace

HotkeyShortcut HotkeyShortcut::defaultShortcut()
{
    return HotkeyShortcut{9, commandKey | shiftKey, QStringLiteral("V")};
}

QString HotkeyShortcut::displayString() const
{
    QStringList parts;
    if (carbonModifiers & commandKey) {
        parts << QStringLiteral("Super");
    }
    if (carbonModifiers & controlKey) {
        parts << QStringLiteral("Ctrl");
    }
    if (carbonModifiers & optionKey) {
        parts << QStringLiteral("Alt");
    }
    if (carbonModifiers & shiftKey) {
        parts << QStringLiteral("Shift");
    }
    parts << linuxKeyName(keyCode, keyLabel);
    return parts.join(QLatin1Char('+'));
}

bool HotkeyShortcut::isValid() const
{
    return (carbonModifiers & (commandKey | optionKey | controlKey)) != 0 && !keyLabel.isEmpty();
}

std::uint32_t HotkeyShortcut::carbonModifiersFrom(std::uint64_t platformFlags)
{
    std::uint32_t mask = 0;
    if (platformFlags & shiftFlag) {
        mask |= shiftKey;
    }
    if (platformFlags & controlFlag) {
        mask |= controlKey;
    }
    if (platformFlags & optionFlag) {
        mask |= optionKey;
    }
    if (platformFlags & commandFlag) {
        mask |= commandKey;
    }
    return mask;
}

std::optional<QString> HotkeyShortcut::fixedKeyLabel(std::uint32_t keyCode)
{
    const auto& labels = fixedKeyLabels();
    const auto found = labels.constFind(keyCode);
    if (found == labels.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

QString HotkeyShortcut::keyLabelForKeyCode(std::uint32_t keyCode, const std::optional<QString>& characters)
{
    if (auto fixed = fixedKeyLabel(keyCode)) {
        return *fixed;
    }
    if (const auto keypad = keypadKeyLabels().constFind(keyCode); keypad != keypadKeyLabels().constEnd()) {
        return *keypad;
    }
    if (characters && !characters->isEmpty()) {
        const QString upper = firstGrapheme(*characters).toUpper();
        if (!upper.trimmed().isEmpty()) {
            return upper;
        }
    }
    return QStringLiteral("Key ") + QString::number(keyCode);
}
