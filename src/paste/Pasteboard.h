// Putting a history entry back on the clipboard, and pasting it into the front window.
#pragma once

struct ClipboardItem;

namespace Pasteboard {
// Replaces the clipboard with one representation of the item; the monitor skips that change.
void place(const ClipboardItem& item, bool plainOnly);
// Posts the paste keystroke; false when nothing could be posted.
bool simulatePaste();
bool hasAccessibilityPermission(bool promptIfMissing);
} // namespace Pasteboard
