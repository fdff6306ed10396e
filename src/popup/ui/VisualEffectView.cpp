// Without blur behind it a translucent panel must stay dark enough to read over busy windows,
// hence a denser tint than a blurred material would need.
#include "popup/ui/VisualEffectView.h"

#include <QPainter>

QColor VisualEffectView::tint(bool composited) const
{
    QColor color = m_material == hudWindow ? QColor(30, 30, 34) : QColor(44, 44, 48);
    color.setAlphaF(composited ? 0.86f : 1.0f);
    return color;
}

void VisualEffectView::paint(QPainter& painter, const QPainterPath& shape, bool composited) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint(composited));
    painter.drawPath(shape);
    painter.restore();
}
