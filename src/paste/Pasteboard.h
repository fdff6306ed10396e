// Putting a history entry back on the clipboard, and pasting it into the front window.
#pragma once

#include "platform/PasteboardContent.h"

#include <functional>

struct ClipboardItem;
class Clipboard;
class KeySynthesizer;

namespace Pasteboard {
// Replaces the clipboard with one representation of the item; the monitor skips that change.
void place(const ClipboardItem& item, bool plainOnly);
// Posts the paste keystroke; false when nothing could be posted.
bool simulatePaste();
bool hasAccessibilityPermission(bool promptIfMissing);

// The same operations over explicit services, for callers that do not use the installed platform.
// `suppressNext` marks the coming change as the program's own; it runs before the clipboard is touched.
void place(const ClipboardItem& item, bool plainOnly, Clipboard& clipboard, const std::function<void()>& suppressNext);
bool simulatePaste(KeySynthesizer& keys);
bool hasAccessibilityPermission(KeySynthesizer& keys, bool promptIfMissing);

// The one representation written for the item (empty when the item has nothing that can be written).
PasteboardContent contentFor(const ClipboardItem& item, bool plainOnly);
} // namespace Pasteboard
