// RTF documents: their plain text for the history, and a styled text document for the cards.
#pragma once

#include "capture/RtfText.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QTextDocument;

namespace RtfReader {
// The document's plain text (paragraphs and line breaks as "\n"), or nothing when the bytes are not RTF.
std::optional<QString> plainText(const QByteArray& rtf);
// The document with its fonts, sizes, styles and colours; null when the bytes are not RTF.
// The document never loads resources.
std::unique_ptr<QTextDocument> toDocument(const QByteArray& rtf);
// A text document laid out from already read text.
std::unique_ptr<QTextDocument> toDocument(const RtfText& text);
} // namespace RtfReader
