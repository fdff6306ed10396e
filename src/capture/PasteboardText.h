// Clean text from clipboard bytes: which encodings to try, how to decode, which plain flavour wins.
#pragma once

#include "capture/TextEncoding.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class PasteboardReader;

namespace PasteboardText {
// The plain-text type identifiers in the order they are tried (the first two name the same type).
const QStringList& plainTextTypes();

// Encodings to try for `bytes`, most likely first, without duplicates; always ends with the six fallbacks.
QList<TextEncoding> candidateEncodings(const QByteArray& bytes);
// Trims byte-order marks and NULs from both ends; nothing when empty or a NUL remains inside.
std::optional<QString> cleanDecodedString(const QString& text);
// The first usable decoding among the candidate encodings, or nothing.
std::optional<QString> decodedString(const QByteArray& bytes);
// The best plain text the clipboard offers, untrimmed, or nothing.
std::optional<QString> bestPlainText(PasteboardReader& reader);
// `primary` unless it is only white space, else a non-empty `fallback`, else `primary` as it is.
std::optional<QString> displayText(const std::optional<QString>& primary, const std::optional<QString>& fallback);
// White space runs collapsed to single spaces (no-break spaces included), ends trimmed.
QString comparableText(const QString& text);
// Whether comparableText(a) == comparableText(b), found without building either: the plain flavour
// of a copy can be many megabytes.
bool haveSameComparableText(const QString& a, const QString& b);
} // namespace PasteboardText
