// The styled text of a rich-text card, read from its stored RTF, RTFD or HTML document.
#pragma once

#include "history/ClipboardItem.h"

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <memory>
#include <optional>

namespace RichTextPreview {
// The document of the item's asset with its own fonts and colours; nothing when there is no
// asset, it cannot be read or it does not parse (the card then shows the plain text). The asset
// is RTFD when its path ends in ".rtfd" exactly, HTML when it ends in ".html", RTF otherwise.
std::unique_ptr<QTextDocument> load(const ClipboardItem& item);

// HTML laid out without fetching anything it refers to (images, style sheets): clipboard HTML
// must not make us read files or the network.
std::unique_ptr<QTextDocument> documentFromHtml(const QString& html);
} // namespace RichTextPreview
