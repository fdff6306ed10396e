// Reads the current clipboard content. Used by the capture worker, never on the main thread:
// every call may wait for the owner, up to the deadline the reader was opened with.
#pragma once

#include "platform/Clipboard.h"
#include "platform/UriList.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <chrono>
#include <memory>
#include <optional>

class PasteboardReader
{
public:
    // A type whose bytes run beyond this size is abandoned and the change fails.
    static constexpr qint64 transferCapBytes = qint64(256) * 1024 * 1024;

    virtual ~PasteboardReader() = default;

    // Type identifiers on offer (see PasteboardType), or nothing when they cannot be read.
    virtual std::optional<QStringList> types() = 0;
    // Whether any of `types` is on offer, looked for in the whole list however long the owner made
    // it; nothing when the list cannot be read.
    virtual std::optional<bool> offersAnyOf(const QSet<QString>& types) = 0;
    // The bytes of one type, or nothing when it is not offered or cannot be read.
    virtual std::optional<QByteArray> data(const QString& type) = 0;
    // URL objects (file or not), or nothing when none are offered; a list over UriList's limits
    // comes as such, without its URLs.
    virtual std::optional<UrlList> urls() = 0;
    // Colour objects, or nothing when none are offered.
    virtual std::optional<QList<QColor>> colors() = 0;
    // True once the deadline has passed or the owner went away: the change must yield nothing.
    virtual bool hasFailed() const = 0;
};

class PasteboardReaderFactory
{
public:
    virtual ~PasteboardReaderFactory() = default;
    // Called on the capture worker's thread, once per change. The reader reads `change`'s content
    // only: when the clipboard has moved on to another owner by then, or does during the reading,
    // the reader fails.
    virtual std::unique_ptr<PasteboardReader> open(const ClipboardChange& change,
                                                   std::chrono::steady_clock::time_point deadline) = 0;
};
