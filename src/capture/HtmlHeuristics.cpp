// HTML fragments, tag tests, rendering to plain text and the choice between an HTML and a text entry.
#include "capture/HtmlHeuristics.h"

#include "capture/Graphemes.h"
#include "capture/HtmlSimplifier.h"
#include "capture/OfflineTextDocument.h"
#include "capture/PasteboardText.h"
#include "capture/WorkBudget.h"
#include "platform/PasteboardReader.h"
#include "platform/PasteboardTypes.h"

#include <QStringConverter>
#include <memory>
#include <unicode/regex.h>

namespace HtmlHeuristics {
namespace {
const QString startMarker = QStringLiteral("<!--StartFragment-->");
const QString endMarker = QStringLiteral("<!--EndFragment-->");

// The tag patterns, written with possessive white-space runs: "\s*/?\s*" matches the same strings, but
// backtracking through its two adjacent runs takes quadratic time on a long run of spaces after a "<".
const char16_t tagPattern[] = u"<\\s*+(?:/\\s*+)?[A-Za-z][A-Za-z0-9:-]*+(?:\\s|/?>)";
const char16_t formattingPattern[] =
    u"<\\s*+(?:/\\s*+)?(a|img|picture|source|video|audio|table|thead|tbody|tfoot|tr|td|th|ul|ol|li|dl|dt|dd|"
    u"blockquote|pre|code|kbd|samp|h[1-6]|hr|iframe|svg|math|figure|figcaption|form|input|button|select|"
    u"textarea|strong|b|em|i|u|s|sub|sup|mark)\\b";

std::unique_ptr<icu::RegexPattern> compile(const char16_t* pattern)
{
    UParseError parseError;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString(pattern), UREGEX_CASE_INSENSITIVE, parseError, status));
    return U_SUCCESS(status) ? std::move(compiled) : nullptr;
}

bool search(const icu::RegexPattern* pattern, const QString& text)
{
    if (!pattern) {
        return false;
    }
    const icu::UnicodeString subject(false, reinterpret_cast<const UChar*>(text.utf16()),
                                     static_cast<int32_t>(std::min<qsizetype>(text.size(), INT32_MAX)));
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(subject, status));
    if (U_FAILURE(status) || !matcher) {
        return false;
    }
    const bool found = matcher->find(status);
    return U_SUCCESS(status) && found;
}

// Cuts UTF-8 to at most `limit` bytes without splitting a character.
QByteArray leadingUtf8(const QByteArray& utf8, qsizetype limit)
{
    if (utf8.size() <= limit) {
        return utf8;
    }
    qsizetype end = limit;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    return utf8.left(end);
}

std::optional<QString> render(const QString& html, WorkBudget* budget)
{
    const HtmlSimplifier::Simplified simplified = HtmlSimplifier::simplify(html);
    WorkBudget own;
    if (!(budget ? *budget : own).charge(simplified.importWork)) {
        return std::nullopt;
    }
    OfflineTextDocument document;
    document.setHtml(simplified.html);
    return document.plainTextWithoutObjects();
}

// `decoded` is decodedString(html), passed in so callers that need it too decode only once.
std::optional<QString> renderBytes(const QByteArray& html, const std::optional<QString>& decoded, WorkBudget* budget)
{
    if (decoded) {
        // Our own decoding is UTF-8 by construction, so it is read back as such.
        return render(QString::fromUtf8(leadingUtf8(fragment(*decoded).toUtf8(), conversionLimit)), budget);
    }
    if (html.isEmpty()) {
        return std::nullopt;
    }
    // Bytes no candidate encoding reads cleanly: let the document's own charset declaration decide.
    const QByteArray input = html.left(conversionLimit);
    QStringDecoder decoder(QStringConverter::encodingForHtml(input).value_or(QStringConverter::Utf8));
    return render(decoder.decode(input), budget);
}
} // namespace

const QStringList& htmlTypes()
{
    static const QStringList types{PasteboardType::html, QStringLiteral("public.html"), PasteboardType::htmlMime,
                                   QStringLiteral("HTML Format")};
    return types;
}

QString fragment(const QString& html)
{
    const qsizetype start = html.indexOf(startMarker);
    if (start < 0) {
        return html;
    }
    const qsizetype end = html.indexOf(endMarker);
    const qsizetype contentStart = start + startMarker.size();
    if (end < 0 || contentStart > end) {
        return html;
    }
    return html.mid(contentStart, end - contentStart);
}

bool containsTag(const QString& html)
{
    static const auto pattern = compile(tagPattern);
    return search(pattern.get(), html);
}

bool containsFormatting(const QString& html)
{
    static const auto pattern = compile(formattingPattern);
    return search(pattern.get(), html);
}

std::optional<QString> htmlToPlain(const QByteArray& html, WorkBudget* budget)
{
    return renderBytes(html, PasteboardText::decodedString(html), budget);
}

std::optional<QString> htmlToPlain(const QString& html, WorkBudget* budget)
{
    return render(firstGraphemes(html, conversionLimit), budget);
}

bool shouldCaptureAsHTML(const std::optional<QString>& html, const std::optional<QString>& htmlPlain,
                         const std::optional<QString>& plainText)
{
    if (!html || !containsTag(*html)) {
        return !plainText && htmlPlain && !htmlPlain->isEmpty();
    }
    if (!plainText || plainText->isEmpty() || !htmlPlain || htmlPlain->isEmpty()) {
        return true;
    }
    if (!PasteboardText::haveSameComparableText(*htmlPlain, *plainText)) {
        return true;
    }
    return containsFormatting(*html);
}

std::optional<HtmlCapture> evaluateHTML(PasteboardReader& reader, const std::optional<QString>& plainText,
                                        WorkBudget* budget)
{
    WorkBudget own;
    if (!budget) {
        budget = &own;
    }
    std::optional<QByteArray> data;
    for (const QString& type : htmlTypes()) {
        if (auto bytes = reader.data(type); bytes && !bytes->isEmpty()) {
            data = std::move(bytes);
            break;
        }
    }
    if (!data) {
        return std::nullopt;
    }

    std::optional<QString> html;
    const auto decoded = PasteboardText::decodedString(*data);
    std::optional<QString> htmlPlain = renderBytes(*data, decoded, budget);
    if (decoded) {
        html = fragment(*decoded);
        if (!htmlPlain) {
            htmlPlain = htmlToPlain(*html, budget);
        }
    }
    if (budget->isSpent() || !shouldCaptureAsHTML(html, htmlPlain, plainText)) {
        return std::nullopt;
    }
    const auto text = PasteboardText::displayText(htmlPlain, plainText ? plainText : html);
    if (!text || text->isEmpty()) {
        return std::nullopt;
    }
    return HtmlCapture{*data, *text};
}
} // namespace HtmlHeuristics
