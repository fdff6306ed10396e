// Builds the path of the top-rounded rectangle (y grows downwards).
#include "popup/TopRoundedRectangle.h"

#include <algorithm>

QPainterPath TopRoundedRectangle::path(const QRectF& rect) const
{
    const double w = rect.width();
    const double h = rect.height();
    const double r = std::max(0.0, std::min(radius, std::min(w, h) * 0.5));
    QPainterPath path;
    path.moveTo(rect.left(), rect.bottom());
    path.lineTo(rect.left(), rect.top() + r);
    path.quadTo(rect.left(), rect.top(), rect.left() + r, rect.top());
    path.lineTo(rect.right() - r, rect.top());
    path.quadTo(rect.right(), rect.top(), rect.right(), rect.top() + r);
    path.lineTo(rect.right(), rect.bottom());
    path.closeSubpath();
    return path;
}
