#include "settings/SettingsText.h"

#include "hotkey/HotkeyShortcut.h"

#include <cmath>

QString SettingsText::itemCount(qsizetype count)
{
    return QString::number(count) + QStringLiteral(" item") + (count == 1 ? QString() : QStringLiteral("s")) +
           QStringLiteral(" in history");
}

QString SettingsText::heightPercent(double fraction)
{
    // Fractions reach here as binary doubles: 0.29 × 100 is 28.999999999999996, which plain
    // truncation would show as 28%. Anything within a billionth of a whole percent counts as it.
    const double percent = fraction * 100;
    const double nearest = std::round(percent);
    // (Adding 0.0 turns a negative zero into "0".)
    const double whole = (std::abs(percent - nearest) < 1e-9 ? nearest : std::trunc(percent)) + 0.0;
    if (!std::isfinite(whole) || std::abs(whole) >= 1e15) {
        return QString::number(whole, 'g', 6) + QLatin1Char('%');
    }
    return QString::number(whole, 'f', 0) + QLatin1Char('%');
}

QString SettingsText::maxHistoryItems(std::int64_t cap)
{
    return QString::number(cap);
}

QString SettingsText::version(const char* version)
{
    const QString text = version ? QString::fromUtf8(version) : QString();
    return QStringLiteral("Stashwell v") + (text.isEmpty() ? QStringLiteral("0") : text);
}

QString SettingsText::popupHint(const HotkeyShortcut& shortcut)
{
    return QStringLiteral("Press ") + shortcut.displayString() + QStringLiteral(" to open the clipboard popup.");
}
