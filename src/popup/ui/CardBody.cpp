// Files whose first path names an image show that image; other files their icon and name.
#include "popup/ui/CardBody.h"

#include "popup/CardContent.h"
#include "popup/ui/ColorBody.h"
#include "popup/ui/FileBody.h"
#include "popup/ui/ImageBody.h"
#include "popup/ui/ImageFileBody.h"
#include "popup/ui/RichTextBody.h"
#include "popup/ui/TextBody.h"

std::unique_ptr<CardBody> CardBody::forItem(const ClipboardItem& item)
{
    switch (item.kind) {
    case ClipboardKind::text:
    case ClipboardKind::html:
    case ClipboardKind::link:
        return std::make_unique<TextBody>(item);
    case ClipboardKind::richText:
        return std::make_unique<RichTextBody>(item);
    case ClipboardKind::image:
    case ClipboardKind::pdf:
        return std::make_unique<ImageBody>(item);
    case ClipboardKind::color:
        return std::make_unique<ColorBody>(item);
    case ClipboardKind::file:
        if (CardContent::showsFirstFileImage(item)) {
            return std::make_unique<ImageFileBody>(item);
        }
        return std::make_unique<FileBody>(item);
    }
    return std::make_unique<TextBody>(item); // not reached: every kind has its body above
}
