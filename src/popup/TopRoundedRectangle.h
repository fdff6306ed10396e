// The popup's outline: a rectangle whose two top corners are rounded, standing on the screen edge.
#pragma once

#include <QPainterPath>
#include <QRectF>

struct TopRoundedRectangle
{
    double radius = 0;

    // Quadratic corners whose control points are the rectangle's corners; the radius never takes
    // more than half of the shorter side.
    QPainterPath path(const QRectF& rect) const;
};
