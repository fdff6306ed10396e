// Popup frames in Qt's screen coordinates, whose y axis points down.
#include "popup/PopupGeometry.h"

#include <cmath>

double PopupGeometry::clampedHeightFraction(double fraction)
{
    if (std::isnan(fraction) || fraction >= 0.5) {
        return 0.5;
    }
    if (fraction < 0.2) {
        return 0.2;
    }
    return fraction;
}

int PopupGeometry::panelHeight(int availableHeight, double fraction)
{
    return static_cast<int>(std::floor(availableHeight * clampedHeightFraction(fraction)));
}

PopupGeometry::Frames PopupGeometry::frames(const QRect& available, double fraction)
{
    const int h = panelHeight(available.height(), fraction);
    const int bottom = available.y() + available.height(); // one past the last row
    return {QRect(available.x(), bottom - h, available.width(), h), QRect(available.x(), bottom, available.width(), h)};
}

QRect PopupGeometry::slideDownTarget(const QRect& current)
{
    return current.translated(0, current.height());
}
