// Rewrites clipboard HTML into a shape Qt's HTML importer reads in bounded time, with the same text.
#pragma once

#include <QString>

namespace HtmlSimplifier {
// Qt's importer takes time that grows with the square of the nesting depth and of the number of items
// of a list, of pictures in a paragraph, and of style rules times elements: tens of seconds for 20,000
// of either, well within the size we render. No real clipboard HTML nests this deeply.
inline constexpr int maxDepth = 200;
// Tables within tables multiply the importer's layout work; real pages nest a handful.
inline constexpr int maxTableDepth = 8;

struct Simplified
{
    QString html;
    // The importer's work on `html`, estimated from above, in steps of one element placed at one
    // level of nesting (a table cell counts for many).
    qint64 importWork = 0;
};

// The tags are read as the importer reads them (HtmlTagScanner). Lists become plain blocks (their
// items keep one line each; Qt's plain text has no bullets anyway); pictures and style sheets are left
// out (the text has none of them), and so are fragment markers; the structure the importer would add or
// close on its own (a table around a stray cell, the end of a cell when the next begins) is written
// out; tags that would open elements deeper than `depthLimit`, or tables deeper than maxTableDepth,
// are left out with their end tags. All text stays.
Simplified simplify(const QString& html, int depthLimit = maxDepth);
// simplify(html, depthLimit).html
QString simplifyForImport(const QString& html, int depthLimit = maxDepth);
} // namespace HtmlSimplifier
