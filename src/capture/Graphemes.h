// Counting and cutting text in characters as a reader perceives them (extended grapheme clusters).
#pragma once

#include <QString>

qsizetype graphemeCount(const QString& text);
// The first `limit` grapheme clusters of `text` (all of it when it has no more).
QString firstGraphemes(const QString& text, qsizetype limit);
// The longest beginning of `text` that is whole clusters and at most `maxLength` code units long.
QString graphemesWithin(const QString& text, qsizetype maxLength);
