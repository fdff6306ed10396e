#include "paste/Pasteboard.h"

#include "capture/ClipboardMonitor.h"
#include "history/ClipboardItem.h"
#include "platform/Clipboard.h"
#include "platform/KeySynthesizer.h"
#include "platform/PasteboardTypes.h"
#include "platform/Platform.h"

void Pasteboard::place(const ClipboardItem& item, bool)
{
    ClipboardMonitor::shared().suppressNext();
    PasteboardContent content;
    if (item.text) {
        content.data.append({PasteboardType::string, item.text->toUtf8()});
    }
    Platform::current().clipboard->replaceContents(content);
}

bool Pasteboard::simulatePaste()
{
    return Platform::current().keys->postPaste();
}

bool Pasteboard::hasAccessibilityPermission(bool promptIfMissing)
{
    return Platform::current().keys->isTrusted(promptIfMissing);
}
