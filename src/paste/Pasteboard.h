// Putting a history entry back on the clipboard, and pasting it into the front window.
#pragma once

#include "platform/KeySynthesizer.h"
#include "platform/PasteboardContent.h"

#include <cstdint>
#include <functional>

struct ClipboardItem;
class Clipboard;

namespace Pasteboard {
// Replaces the clipboard with one representation of the item; the monitor skips that change.
void place(const ClipboardItem& item, bool plainOnly);
// Posts the paste keystroke into `window`, and only while it is the active window; `done` says
// whether it went out.
void simulatePaste(const RunningApplication& target, std::function<void(PasteOutcome)> done);
bool hasAccessibilityPermission(bool promptIfMissing);

// The same operations over explicit services, for callers that do not use the installed platform.
// `suppressNext` marks the coming change as the program's own; it runs before the clipboard is touched.
void place(const ClipboardItem& item, bool plainOnly, Clipboard& clipboard, const std::function<void()>& suppressNext);
void simulatePaste(KeySynthesizer& keys, const RunningApplication& target, std::function<void(PasteOutcome)> done);
bool hasAccessibilityPermission(KeySynthesizer& keys, bool promptIfMissing);

// The one representation written for the item (empty when the item has nothing that can be written).
PasteboardContent contentFor(const ClipboardItem& item, bool plainOnly);
} // namespace Pasteboard
