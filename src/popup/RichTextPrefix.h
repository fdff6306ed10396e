// The part of a rich-text document a card can show: a bounded prefix of its text, so that a
// document of any length costs what a screenful does.
#pragma once

#include "capture/RtfText.h"

#include <QByteArray>

namespace RichTextPrefix {
// A card shows a screenful, less than this even at the popup's greatest height (about 60 lines of
// 125 characters at the default size); building and laying out a text document costs about a
// millisecond for every 2,000 characters or 10 paragraphs.
inline constexpr qsizetype maxCharacters = 10000;
inline constexpr int maxParagraphs = 150;
// HTML is cut after this many tags too: markup without text (empty cells, nested spans) costs
// as much to build.
inline constexpr int maxHtmlTags = 400;

// Keeps the first maxCharacters characters and maxParagraphs paragraphs of the text; true when
// anything was left out.
bool cut(RtfText& text);
// How many bytes of `html` to build a preview from: whole tags only, at most maxCharacters
// characters of text (white space aside) and maxHtmlTags tags; the text of comments, scripts
// and style sheets does not count.
qsizetype htmlLength(const QByteArray& html);
} // namespace RichTextPrefix
