// Decoding clipboard bytes into text and choosing among the plain-text flavours.
#include "capture/PasteboardText.h"

#include "platform/PasteboardReader.h"
#include "platform/PasteboardTypes.h"

#include <algorithm>

namespace PasteboardText {
namespace {
bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> prefix)
{
    if (bytes.size() < static_cast<qsizetype>(prefix.size())) {
        return false;
    }
    return std::equal(prefix.begin(), prefix.end(), bytes.begin(), [](unsigned char expected, char actual) {
        return static_cast<unsigned char>(actual) == expected;
    });
}

void appendOnce(QList<TextEncoding>& list, TextEncoding encoding)
{
    if (!list.contains(encoding)) {
        list.append(encoding);
    }
}

// What the platform gives as "the string" of a type: only the types whose name fixes the encoding have one.
std::optional<QString> stringForType(const QByteArray& bytes, const QString& type)
{
    if (type == PasteboardType::string) {
        return decodeStrictly(bytes, TextEncoding::utf8);
    }
    if (type == PasteboardType::utf16PlainText) {
        return decodeStrictly(bytes, TextEncoding::utf16);
    }
    return std::nullopt;
}
} // namespace

const QStringList& plainTextTypes()
{
    static const QStringList types{
        PasteboardType::string,
        QStringLiteral("public.utf8-plain-text"),
        QStringLiteral("public.utf16-plain-text"),
        QStringLiteral("public.utf16-external-plain-text"),
        QStringLiteral("public.plain-text"),
        QStringLiteral("public.text"),
        QStringLiteral("NSStringPboardType"),
        QStringLiteral("NeXT plain ascii pasteboard type"),
        QStringLiteral("com.apple.traditional-mac-plain-text"),
    };
    return types;
}

QList<TextEncoding> candidateEncodings(const QByteArray& bytes)
{
    QList<TextEncoding> list;
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        appendOnce(list, TextEncoding::utf8);
    }
    if (startsWith(bytes, {0xFF, 0xFE})) {
        appendOnce(list, TextEncoding::utf16LE);
    }
    if (startsWith(bytes, {0xFE, 0xFF})) {
        appendOnce(list, TextEncoding::utf16BE);
    }

    // Text in UTF-16 has a zero byte beside most ASCII characters, on the odd side when little-endian.
    const qsizetype n = std::min<qsizetype>(bytes.size(), 96);
    if (n >= 4) {
        qsizetype even = 0;
        qsizetype odd = 0;
        for (qsizetype i = 0; i < n; ++i) {
            if (bytes[i] == '\0') {
                ++(i % 2 == 0 ? even : odd);
            }
        }
        const qsizetype threshold = n < 16 ? 2 : n / 8;
        if (odd >= threshold && even == 0) {
            appendOnce(list, TextEncoding::utf16LE);
        } else if (even >= threshold && odd == 0) {
            appendOnce(list, TextEncoding::utf16BE);
        }
    }

    for (auto encoding : {TextEncoding::utf8, TextEncoding::utf16, TextEncoding::utf16LE, TextEncoding::utf16BE,
                          TextEncoding::macOSRoman, TextEncoding::isoLatin1}) {
        appendOnce(list, encoding);
    }
    return list;
}

std::optional<QString> cleanDecodedString(const QString& text)
{
    const auto isTrimmed = [](QChar c) { return c == QChar(0xFEFF) || c == QChar(0); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin])) {
        ++begin;
    }
    while (end > begin && isTrimmed(text[end - 1])) {
        --end;
    }
    if (begin == end) {
        return std::nullopt;
    }
    QString result = text.mid(begin, end - begin);
    if (result.contains(QChar(0))) {
        return std::nullopt;
    }
    return result;
}

std::optional<QString> decodedString(const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    for (const auto encoding : candidateEncodings(bytes)) {
        if (const auto decoded = decodeStrictly(bytes, encoding)) {
            if (auto cleaned = cleanDecodedString(*decoded)) {
                return cleaned;
            }
        }
    }
    return std::nullopt;
}

std::optional<QString> bestPlainText(PasteboardReader& reader)
{
    for (const QString& type : plainTextTypes()) {
        const auto bytes = reader.data(type);
        if (!bytes || bytes->isEmpty()) {
            continue;
        }
        if (const auto string = stringForType(*bytes, type); string && !string->isEmpty()) {
            return string;
        }
        // Any cleaned decoding is non-empty, so the first one found ends the search.
        if (auto decoded = decodedString(*bytes)) {
            return decoded;
        }
    }
    return std::nullopt;
}

std::optional<QString> displayText(const std::optional<QString>& primary, const std::optional<QString>& fallback)
{
    if (primary && !primary->trimmed().isEmpty()) {
        return primary;
    }
    if (fallback && !fallback->isEmpty()) {
        return fallback;
    }
    return primary;
}

QString comparableText(const QString& text)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        if (c.isSpace()) { // white space, newlines and no-break spaces alike
            if (!piece.isEmpty()) {
                pieces.append(piece);
                piece.clear();
            }
        } else {
            piece.append(c);
        }
    }
    if (!piece.isEmpty()) {
        pieces.append(piece);
    }
    return pieces.join(QLatin1Char(' '));
}

namespace {
void skipSpace(const QString& text, qsizetype& at)
{
    while (at < text.size() && text.at(at).isSpace()) {
        ++at;
    }
}

// The next character of comparableText(text) from `at`: a space stands for a run of white space
// between two words; nothing at the end.
std::optional<QChar> nextComparable(const QString& text, qsizetype& at)
{
    if (at < text.size() && text.at(at).isSpace()) {
        skipSpace(text, at);
        return at == text.size() ? std::nullopt : std::optional<QChar>(QLatin1Char(' '));
    }
    return at == text.size() ? std::nullopt : std::optional<QChar>(text.at(at++));
}
} // namespace

bool haveSameComparableText(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    skipSpace(a, i);
    skipSpace(b, j);
    for (;;) {
        const auto x = nextComparable(a, i);
        const auto y = nextComparable(b, j);
        if (x != y) {
            return false;
        }
        if (!x) {
            return true;
        }
    }
}
} // namespace PasteboardText
