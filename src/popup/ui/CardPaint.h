// Colours and small drawings that the parts of a card share.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace CardPaint {
// The light grey behind pictures while they load and around them when they do not.
QColor lightGrey();
// Secondary text and symbols on the white card.
QColor secondary();
// The device pixels per point of what the painter draws on.
qreal ratioOf(const QPainter& painter);
// A label on a dark capsule sized to the text plus its padding, at the origin.
QRectF capsuleFor(const QString& text, const QFont& font, double padV, double padH);
void drawCapsuleLabel(QPainter& painter, const QRectF& capsule, const QString& text, const QFont& font);
} // namespace CardPaint
