// An HTML entry shows its plain text: the markup is for the program it is pasted into.
#include "popup/ui/TextBody.h"

#include "popup/CardGeometry.h"

TextBody::TextBody(const ClipboardItem& item)
    : m_text(item.text.value_or(QString()), item.kind == ClipboardKind::link ? QFont::Medium : QFont::Normal)
{}

void TextBody::paint(QPainter& painter, const QRectF& body)
{
    m_text.paint(painter, CardGeometry::textArea(body));
}
