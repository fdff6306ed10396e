// Where the popup stands on a screen: its height and the frames it slides between.
#pragma once

#include <QRect>

namespace PopupGeometry {
// The height fraction kept within [0.2, 0.5]; a value that is not a number counts as 0.5.
double clampedHeightFraction(double fraction);
// floor(available height x the clamped fraction).
int panelHeight(int availableHeight, double fraction);

struct Frames
{
    QRect target; // resting on the bottom edge of the available area, across its whole width
    QRect start;  // the same rectangle just below that edge
};
Frames frames(const QRect& available, double fraction);
// The frame a hide slides to: the current one moved down by its own height.
QRect slideDownTarget(const QRect& current);
} // namespace PopupGeometry
