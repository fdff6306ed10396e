// The popup's outline path and where the panel stands on its screen.
#include "popup/PopupGeometry.h"
#include "popup/TopRoundedRectangle.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
struct Element
{
    QPainterPath::ElementType type;
    double x, y;
};

std::vector<Element> elements(const QPainterPath& path)
{
    std::vector<Element> out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        out.push_back({e.type, e.x, e.y});
    }
    return out;
}

// Cubic control points of a quadratic from p0 over c to p1 (how QPainterPath stores quadTo).
void expectQuadratic(const std::vector<Element>& e, std::size_t at, QPointF p0, QPointF c, QPointF p1)
{
    const QPointF c1 = p0 + 2.0 / 3.0 * (c - p0);
    const QPointF c2 = p1 + 2.0 / 3.0 * (c - p1);
    EXPECT_EQ(e[at].type, QPainterPath::CurveToElement);
    EXPECT_NEAR(e[at].x, c1.x(), 1e-9);
    EXPECT_NEAR(e[at].y, c1.y(), 1e-9);
    EXPECT_NEAR(e[at + 1].x, c2.x(), 1e-9);
    EXPECT_NEAR(e[at + 1].y, c2.y(), 1e-9);
    EXPECT_NEAR(e[at + 2].x, p1.x(), 1e-9);
    EXPECT_NEAR(e[at + 2].y, p1.y(), 1e-9);
}

TEST(TopRoundedRectangle, QuadraticTopCornersSquareBottom)
{
    const auto e = elements(TopRoundedRectangle{22}.path(QRectF(10, 20, 200, 100)));
    ASSERT_EQ(e.size(), 11u); // move, line, quad (3), line, quad (3), line, closing line
    EXPECT_EQ(e[0].type, QPainterPath::MoveToElement);
    EXPECT_EQ(QPointF(e[0].x, e[0].y), QPointF(10, 120));
    EXPECT_EQ(QPointF(e[1].x, e[1].y), QPointF(10, 42));
    expectQuadratic(e, 2, {10, 42}, {10, 20}, {32, 20});
    EXPECT_EQ(QPointF(e[5].x, e[5].y), QPointF(188, 20));
    expectQuadratic(e, 6, {188, 20}, {210, 20}, {210, 42});
    EXPECT_EQ(QPointF(e[9].x, e[9].y), QPointF(210, 120));
    EXPECT_EQ(QPointF(e[10].x, e[10].y), QPointF(10, 120)) << "closed back to the start";
}

TEST(TopRoundedRectangle, RadiusIsLimitedToHalfTheShorterSide)
{
    EXPECT_EQ(elements(TopRoundedRectangle{22}.path(QRectF(0, 0, 30, 100)))[1].y, 15);
    EXPECT_EQ(elements(TopRoundedRectangle{22}.path(QRectF(0, 0, 200, 10)))[1].y, 5);
    const QPainterPath plain = TopRoundedRectangle{0}.path(QRectF(0, 0, 50, 40));
    EXPECT_EQ(plain.boundingRect(), QRectF(0, 0, 50, 40));
    EXPECT_TRUE(plain.contains(QPointF(0.5, 0.5))) << "no rounding with radius 0";
}

TEST(PopupGeometry, HeightFractionIsClampedAndFloored)
{
    EXPECT_EQ(PopupGeometry::panelHeight(1000, 0.32), 320);
    EXPECT_EQ(PopupGeometry::panelHeight(999, 0.32), 319);
    EXPECT_EQ(PopupGeometry::clampedHeightFraction(0.1), 0.2);
    EXPECT_EQ(PopupGeometry::clampedHeightFraction(0.9), 0.5);
    EXPECT_EQ(PopupGeometry::clampedHeightFraction(0.5), 0.5);
    EXPECT_EQ(PopupGeometry::clampedHeightFraction(std::numeric_limits<double>::quiet_NaN()), 0.5);
    EXPECT_EQ(PopupGeometry::clampedHeightFraction(-std::numeric_limits<double>::infinity()), 0.2);
    EXPECT_EQ(PopupGeometry::panelHeight(1000, 0.1), 200);
    EXPECT_EQ(PopupGeometry::panelHeight(1000, 0.9), 500);
}

TEST(PopupGeometry, FramesSpanTheAvailableWidthOnItsBottomEdge)
{
    // A second screen to the right, with a panel of 24 pixels at its top.
    const QRect available(1600, 24, 1280, 1000);
    const PopupGeometry::Frames frames = PopupGeometry::frames(available, 0.32);
    EXPECT_EQ(frames.target, QRect(1600, 24 + 1000 - 320, 1280, 320));
    EXPECT_EQ(frames.target.bottom(), available.bottom());
    EXPECT_EQ(frames.start, QRect(1600, 1024, 1280, 320));
    EXPECT_EQ(PopupGeometry::slideDownTarget(frames.target), frames.start);
}
} // namespace
