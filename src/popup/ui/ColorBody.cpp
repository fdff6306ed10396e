// The hex form is shown as it was stored, not as the parsed colour would write it.
#include "popup/ui/ColorBody.h"

#include "capture/ColorHex.h"
#include "platform/SystemFont.h"
#include "popup/ui/CardPaint.h"

#include <QPainter>

ColorBody::ColorBody(const ClipboardItem& item)
    : m_hex(item.colorHex.value_or(QString())), m_color(item.colorHex ? fromHex(*item.colorHex) : std::nullopt)
{}

void ColorBody::paint(QPainter& painter, const QRectF& body)
{
    if (!m_color) {
        painter.fillRect(body, QColor(128, 128, 128));
        return;
    }
    painter.fillRect(body, *m_color);
    const QFont font = SystemFont::monospaced(12, QFont::DemiBold);
    QRectF capsule = CardPaint::capsuleFor(m_hex, font, 4, 9);
    capsule.moveCenter(body.center());
    CardPaint::drawCapsuleLabel(painter, capsule, m_hex, font);
}
