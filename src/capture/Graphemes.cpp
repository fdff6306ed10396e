// Grapheme cluster boundaries from Qt's Unicode text boundary finder.
#include "capture/Graphemes.h"

#include <QTextBoundaryFinder>

qsizetype graphemeCount(const QString& text)
{
    if (text.isEmpty()) {
        return 0;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1) {
        ++count;
    }
    return count;
}

QString firstGraphemes(const QString& text, qsizetype limit)
{
    // A cluster is at least one code unit, so shorter text cannot hold more clusters than the limit.
    if (text.size() <= limit) {
        return text;
    }
    if (limit <= 0) {
        return {};
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    qsizetype position = 0;
    while (count < limit && (position = finder.toNextBoundary()) != -1) {
        ++count;
    }
    return position == -1 ? text : text.left(position);
}
