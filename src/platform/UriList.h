// Reading the file lists programs copy (text/uri-list, x-special/gnome-copied-files), within limits:
// a list is one history entry, kept whole in the history file and rewritten at every save.
#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

// The addresses of one copy, in the owner's order, or only the news that the list is longer than
// an entry may hold (then `urls` is empty).
struct UrlList
{
    QList<QUrl> urls;
    bool isOverLimit = false;
};

namespace UriList {
inline constexpr qsizetype maxEntries = 10000;
inline constexpr qsizetype maxBytes = qsizetype(4) * 1024 * 1024;

// The URLs of a list, one a line; blank lines and "#" comments are skipped, and with
// `hasOperationLine` a first line "copy" or "cut" too. Lists of more than maxEntries URLs or more
// than maxBytes bytes are over the limit, found without reading further than that.
UrlList parse(const QByteArray& bytes, bool hasOperationLine);
} // namespace UriList
