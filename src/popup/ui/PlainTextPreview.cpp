// Only the beginning of a long clip is ever laid out: enough characters to fill any card.
#include "popup/ui/PlainTextPreview.h"

#include "platform/SystemFont.h"
#include "popup/CardContent.h"
#include "popup/ui/PopupStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace {
constexpr qsizetype maxPreviewCharacters = 4000;
} // namespace

PlainTextPreview::PlainTextPreview(QString text, QFont::Weight weight) : m_text(std::move(text)), m_weight(weight) {}

PlainTextPreview::~PlainTextPreview() = default;

void PlainTextPreview::paint(QPainter& painter, const QRectF& area)
{
    if (area.isEmpty()) {
        return;
    }
    const QFont font = SystemFont::regular(12, m_weight);
    if (!m_layout || m_layoutSize != area.size()) {
        layOut(font, area.size());
    }
    painter.save();
    painter.setPen(PopupStyle::black(0.85));
    painter.setFont(font);
    const int plainLines = m_elidedLastLine.isEmpty() ? m_visibleLines : m_visibleLines - 1;
    for (int i = 0; i < plainLines; ++i) {
        m_layout->lineAt(i).draw(&painter, area.topLeft());
    }
    if (!m_elidedLastLine.isEmpty()) {
        const QTextLine last = m_layout->lineAt(m_visibleLines - 1);
        painter.drawText(QPointF(area.left(), area.top() + last.y() + last.ascent()), m_elidedLastLine);
    }
    painter.restore();
}

void PlainTextPreview::layOut(const QFont& font, const QSizeF& size)
{
    const QString text = CardContent::previewText(m_text, maxPreviewCharacters);
    m_layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    const QFontMetricsF metrics(font);
    double y = 0;
    m_visibleLines = 0;
    bool truncated = false;
    m_layout->beginLayout();
    while (true) {
        QTextLine line = m_layout->createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(size.width());
        if (y + line.height() > size.height()) {
            truncated = true;
            break;
        }
        line.setPosition(QPointF(0, y));
        y += line.height();
        ++m_visibleLines;
    }
    m_layout->endLayout();
    truncated = truncated || m_text.size() > maxPreviewCharacters;
    m_elidedLastLine.clear();
    if (truncated && m_visibleLines > 0) {
        // The last visible line ends in an ellipsis where the text goes on.
        const QTextLine last = m_layout->lineAt(m_visibleLines - 1);
        QString rest = text.mid(last.textStart(), 400);
        if (const qsizetype end = rest.indexOf(QChar::LineSeparator); end >= 0) {
            rest.truncate(end);
        }
        rest = rest.trimmed();
        const QString withEllipsis = rest + QChar(0x2026);
        m_elidedLastLine = metrics.horizontalAdvance(withEllipsis) <= size.width()
                               ? withEllipsis
                               : metrics.elidedText(rest + QStringLiteral("\u2026\u2026"), Qt::ElideRight, size.width());
    }
    m_layoutSize = size;
}
