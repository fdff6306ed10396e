// Rewrites clipboard HTML into a shape Qt's HTML importer reads in linear time, with the same text.
#pragma once

#include <QString>

namespace HtmlSimplifier {
// Qt's importer takes time that grows with the square of the nesting depth and of the number of items
// of a list: tens of seconds for 20,000 of either, well within the size we render. No real clipboard
// HTML nests this deeply.
inline constexpr int maxDepth = 200;

// Lists become plain blocks (their items keep one line each; Qt's plain text has no bullets anyway), end
// tags that lists leave out are written, and tags that would open elements deeper than `depthLimit` are
// left out with their end tags. All text stays.
QString simplifyForImport(const QString& html, int depthLimit = maxDepth);
} // namespace HtmlSimplifier
