// Whether copied HTML carries formatting worth keeping, and the plain text it renders to.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class PasteboardReader;
class WorkBudget;

namespace HtmlHeuristics {
// HTML longer than this (bytes, or characters for a string) is rendered from its beginning only.
inline constexpr qsizetype conversionLimit = 262144;

// The HTML type identifiers in the order they are tried.
const QStringList& htmlTypes();

// The text between the first start and end fragment markers when they are in that order, else `html`.
QString fragment(const QString& html);
// Whether `html` holds anything shaped like an opening or closing tag.
bool containsTag(const QString& html);
// Whether `html` holds a tag of an element whose structure or formatting plain text loses.
bool containsFormatting(const QString& html);

// Rendered plain text of HTML bytes (the fragment only, when marked) or of an HTML string. Nothing
// when the rendering would cost more than is left of `budget` (a budget of its own when none is given).
std::optional<QString> htmlToPlain(const QByteArray& html, WorkBudget* budget = nullptr);
std::optional<QString> htmlToPlain(const QString& html, WorkBudget* budget = nullptr);
bool shouldCaptureAsHTML(const std::optional<QString>& html, const std::optional<QString>& htmlPlain,
                         const std::optional<QString>& plainText);

struct HtmlCapture
{
    QByteArray data; // the HTML exactly as the clipboard gave it
    QString text;    // what the entry shows
};
// The HTML flavour as an entry, or nothing when there is none, plain text says it all, or reading it
// would spend more than `budget` (which then says so).
std::optional<HtmlCapture> evaluateHTML(PasteboardReader& reader, const std::optional<QString>& plainText,
                                        WorkBudget* budget = nullptr);
} // namespace HtmlHeuristics
