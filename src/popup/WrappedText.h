// A short text (a file's name) set on a few lines of a width: broken between words, inside a word
// only when that word alone is wider than a line, the last line ending in an ellipsis when the
// text goes on.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace WrappedText {
QStringList lines(const QString& text, const QFont& font, double width, int maxLines);
} // namespace WrappedText
