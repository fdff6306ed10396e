// What a history entry holds.
#pragma once

#include <QString>
#include <optional>

enum class ClipboardKind { text, richText, html, link, image, pdf, color, file };

// The raw value stored in the history file and used in duplicate keys ("richText").
QString rawValue(ClipboardKind kind);
// The kind of a raw value; nothing for an unknown string.
std::optional<ClipboardKind> clipboardKindFromRawValue(const QString& raw);
