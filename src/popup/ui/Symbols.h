// The program's small symbols ("pin.fill", "magnifyingglass"), drawn from its SVG resources in any colour.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace Symbols {
// The symbol at `size` logical pixels, tinted with `color` (alpha included); null for an unknown name.
// Renderings go into QPixmapCache, so drawing the same symbol again costs a lookup.
QPixmap pixmap(const QString& name, const QSizeF& size, const QColor& color, qreal devicePixelRatio);
// Draws the symbol centred in `rect`, as large as fits while keeping its proportions.
void draw(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color);
} // namespace Symbols
