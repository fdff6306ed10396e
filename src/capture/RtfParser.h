// Reads RTF bytes into text and character formatting; built to survive hostile input.
#pragma once

#include "capture/RtfText.h"

#include <QByteArray>
#include <optional>

namespace RtfParser {
// Larger input is not read at all. Parsing is one pass over the bytes, so time grows with size only.
inline constexpr qsizetype maxInputSize = 64 * 1024 * 1024;
// Deeper nesting than this is refused rather than followed.
inline constexpr int maxGroupDepth = 1000;
// Past this many runs, further text keeps the last run's formatting (the text itself is never cut).
inline constexpr qsizetype maxRuns = 100000;

enum class Detail { textOnly, styled };

// Nothing when the bytes do not begin an RTF document ("{\rtf") or break the limits above.
std::optional<RtfText> parse(const QByteArray& rtf, Detail detail = Detail::styled);
} // namespace RtfParser
