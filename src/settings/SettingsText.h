// Texts of the settings window that depend on values: counts, percentages, versions, hints.
#pragma once

#include <QString>
#include <cstdint>

struct HotkeyShortcut;

namespace SettingsText {
// "1 item in history", "0 items in history", "2 items in history".
QString itemCount(qsizetype count);
// The height fraction as a whole percentage, truncated: 0.32 gives "32%", 0.329 "32%", 3.0 "300%".
QString heightPercent(double fraction);
// The cap as stored, also when it lies outside the slider's range.
QString maxHistoryItems(std::int64_t cap);
// "Stashwell v1.0.0"; "Stashwell v0" without a version.
QString version(const char* version);
// "Press ⌘⇧V to open the clipboard popup."
QString popupHint(const HotkeyShortcut& shortcut);
} // namespace SettingsText
