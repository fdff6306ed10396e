// Finding a part of a card (a button, the source icon) by asking the card itself, so tests need no
// layout numbers of their own.
#pragma once

#include "popup/CardGeometry.h"

#include <QRectF>
#include <QSizeF>

// Where on a card of `size` `part` answers the hit test (scanned every 4 pixels); empty when nowhere.
// `card` is a CardGeometry or a card view.
template <typename Card>
QRectF partBounds(const Card& card, const QSizeF& size, CardGeometry::Part part, bool hovering)
{
    QRectF bounds;
    for (double y = 0; y < size.height(); y += 4) {
        for (double x = 0; x < size.width(); x += 4) {
            if (card.hitTest(QPointF(x, y), size, hovering).part == part) {
                bounds |= QRectF(x, y, 4, 4);
            }
        }
    }
    return bounds;
}
