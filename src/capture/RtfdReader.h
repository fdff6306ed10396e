// The flat RTFD clipboard format: a serialized folder holding TXT.rtf and its attachments.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QTextDocument;

namespace RtfdReader {
struct Entry
{
    QByteArray name;
    QByteArray data;
};

// Every entry, or nothing when the header is wrong or any length does not fit the bytes.
std::optional<QList<Entry>> entries(const QByteArray& flat);
// The RTF text of the folder (its TXT.rtf entry).
std::optional<QByteArray> rtfText(const QByteArray& flat);
// The plain text of that RTF, or nothing when either layer is unreadable.
std::optional<QString> plainText(const QByteArray& flat);
// Its styled document (attachments are not shown); null when unreadable.
std::unique_ptr<QTextDocument> toDocument(const QByteArray& flat);
} // namespace RtfdReader
