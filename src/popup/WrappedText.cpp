// Line breaking by QTextLayout's word rules (Unicode line breaking), with the fallback that breaks
// anywhere for a word that does not fit on a line of its own.
#include "popup/WrappedText.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

namespace {
QString withoutTrailingSpace(QString line)
{
    while (!line.isEmpty() && line.back().isSpace()) {
        line.chop(1);
    }
    return line;
}
} // namespace

QStringList WrappedText::lines(const QString& text, const QFont& font, double width, int maxLines)
{
    QStringList lines;
    if (text.isEmpty() || maxLines < 1 || width <= 0) {
        return lines;
    }
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            // The last line takes the rest of the text, cut short with an ellipsis.
            const QString rest = withoutTrailingSpace(text.mid(line.textStart()));
            lines << QFontMetricsF(font).elidedText(rest, Qt::ElideRight, width);
            break;
        }
        lines << withoutTrailingSpace(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}
