#include "capture/PasteboardClassifier.h"

#include "platform/PasteboardReader.h"
#include "platform/PasteboardTypes.h"

std::optional<ClipboardItem> PasteboardClassifier::readItem(PasteboardReader& reader, const CaptureSource& source,
                                                           CaptureFiles&)
{
    const auto bytes = reader.data(PasteboardType::string);
    if (!bytes || bytes->isEmpty()) {
        return std::nullopt;
    }
    ClipboardItem item;
    item.kind = ClipboardKind::text;
    item.sourceBundleID = source.bundleID;
    item.sourceAppName = source.appName;
    item.text = QString::fromUtf8(*bytes);
    item.characterCount = item.text->size();
    return item;
}
