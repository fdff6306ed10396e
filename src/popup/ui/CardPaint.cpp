// The capsule labels are the colour card's hex value and the "+N more" badge of a file card.
#include "popup/ui/CardPaint.h"

#include "popup/ui/PopupStyle.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

QColor CardPaint::lightGrey()
{
    return QColor(245, 245, 245); // white level 0.96
}

QColor CardPaint::secondary()
{
    return PopupStyle::black(0.5);
}

qreal CardPaint::ratioOf(const QPainter& painter)
{
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

QRectF CardPaint::capsuleFor(const QString& text, const QFont& font, double padV, double padH)
{
    const QFontMetricsF metrics(font);
    return QRectF(0, 0, metrics.horizontalAdvance(text) + 2 * padH, metrics.height() + 2 * padV);
}

void CardPaint::drawCapsuleLabel(QPainter& painter, const QRectF& capsule, const QString& text, const QFont& font)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(PopupStyle::black(0.55));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(capsule, Qt::AlignCenter, text);
}
