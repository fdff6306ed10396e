// The document is read when the card is first drawn, not when it is built: a strip builds more
// cards than it shows.
#include "popup/ui/RichTextBody.h"

#include "platform/SystemFont.h"
#include "popup/CardGeometry.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

RichTextBody::RichTextBody(const ClipboardItem& item)
    : m_item(item), m_plainText(item.text.value_or(QString()), QFont::Normal)
{}

RichTextBody::~RichTextBody() = default;

void RichTextBody::paint(QPainter& painter, const QRectF& body)
{
    const QRectF area = CardGeometry::textArea(body);
    if (area.isEmpty()) {
        return;
    }
    if (!m_isLoaded) {
        load();
    }
    if (m_document) {
        paintDocument(painter, area);
    } else {
        m_plainText.paint(painter, area);
    }
}

void RichTextBody::load()
{
    m_isLoaded = true;
    RichTextPreview::Preview preview = RichTextPreview::load(m_item);
    m_document = std::move(preview.document);
    m_isCut = preview.isCut;
    if (m_document) {
        // Text without a size of its own gets 12 points, drawn as 12 pixels like the plain cards.
        QFont base = SystemFont::regular(12);
        base.setPointSizeF(12);
        m_document->setDefaultFont(base);
        m_document->setDocumentMargin(0);
    }
}

void RichTextBody::paintDocument(QPainter& painter, const QRectF& area)
{
    // The document keeps its own fonts and sizes, one point to a pixel; it is laid out in points
    // and cut after the last line that fits whole.
    const double scale = RichTextPreview::pointScale();
    const QSizeF size(area.width() / scale, area.height() / scale);
    if (size != m_documentSize) {
        m_document->setTextWidth(size.width());
        m_cut = RichTextPreview::cutAtWholeLines(*m_document, size, m_isCut);
        m_documentSize = size;
    }
    QPainterPath shown;
    if (m_cut.hasLastLine) {
        shown.addRect(QRectF(0, 0, size.width(), m_cut.lineTop));
        shown.addRect(QRectF(0, m_cut.lineTop, m_cut.textEnd, m_cut.lineHeight));
    } else {
        shown.addRect(QRectF(QPointF(0, 0), size));
    }
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    painter.setClipPath(shown, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = shown.boundingRect();
    context.palette.setColor(QPalette::Text, Qt::black);
    m_document->documentLayout()->draw(&painter, context);
    painter.setClipping(false);
    if (m_cut.hasLastLine) {
        painter.setFont(m_cut.font);
        painter.setPen(m_cut.color);
        painter.drawText(QPointF(m_cut.textEnd, m_cut.lineTop + m_cut.ascent), QString(QChar(0x2026)));
    }
    painter.restore();
}
