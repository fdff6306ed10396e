// Card layout: a 50-pixel coloured header, then the body of the item's kind; text, link and
// plain-file cards end in a footer with the info text, the actions and the card's number.
#include "popup/CardGeometry.h"

#include "platform/SystemFont.h"
#include "popup/CardContent.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>

CardGeometry::CardGeometry(const ClipboardItem& item, int index, qsizetype actionCount)
    : m_index(index), m_actionCount(actionCount), m_hasFooter(hasFooter(item))
{}

bool CardGeometry::hasFooter(const ClipboardItem& item)
{
    switch (item.kind) {
    case ClipboardKind::text:
    case ClipboardKind::richText:
    case ClipboardKind::html:
    case ClipboardKind::link:
        return true;
    case ClipboardKind::file:
        return !CardContent::showsFirstFileImage(item);
    default:
        return false;
    }
}

QRectF CardGeometry::bodyRect(const QSizeF& size)
{
    return QRectF(0, headerHeight, size.width(), std::max(0.0, size.height() - headerHeight));
}

QRectF CardGeometry::footerRect(const QRectF& body)
{
    return QRectF(body.left() + footerSide, body.bottom() - footerBottom - footerHeight,
                  body.width() - 2 * footerSide, footerHeight);
}

double CardGeometry::footerSpace()
{
    return footerTop + footerHeight + footerBottom;
}

QRectF CardGeometry::textArea(const QRectF& body)
{
    return QRectF(body.left() + 14, body.top() + 12, body.width() - 28,
                  std::max(0.0, body.height() - 12 - footerSpace()));
}

QRectF CardGeometry::fileArea(const QRectF& body)
{
    return QRectF(body.left() + 12, body.top(), body.width() - 24, std::max(0.0, body.height() - footerSpace()));
}

// The title and the age give way to the hover buttons.
QRectF CardGeometry::deleteButtonRect(const QSizeF& size)
{
    const QRectF icon = sourceIconRect(size);
    return QRectF(icon.left() - 8 - 20, icon.center().y() - 10, 20, 20);
}

QRectF CardGeometry::pinButtonRect(const QSizeF& size)
{
    const QRectF del = deleteButtonRect(size);
    return QRectF(del.left() - 4 - 24, del.center().y() - 12, 24, 24);
}

QRectF CardGeometry::sourceIconRect(const QSizeF& size)
{
    return QRectF(size.width() - 12 - 28, 8, 28, 28);
}

QList<QRectF> CardGeometry::actionRects(const QSizeF& size) const
{
    QList<QRectF> rects;
    if (m_actionCount == 0) {
        return rects;
    }
    if (m_hasFooter) {
        const double centreY = size.height() - footerBottom - footerHeight / 2;
        const QFontMetricsF badge(SystemFont::regular(11, QFont::Medium));
        const double badgeWidth = 9 + 3 + badge.horizontalAdvance(QString::number(m_index));
        double right = size.width() - footerSide - badgeWidth - footerSpacing;
        for (qsizetype i = m_actionCount - 1; i >= 0; --i) {
            rects.prepend(QRectF(right - 18, centreY - 9, 18, 18));
            right -= 18 + footerSpacing;
        }
        return rects;
    }
    double right = size.width() - 8;
    for (qsizetype i = m_actionCount - 1; i >= 0; --i) {
        rects.prepend(QRectF(right - overlayButton, size.height() - 8 - overlayButton, overlayButton, overlayButton));
        right -= overlayButton + footerSpacing;
    }
    return rects;
}

CardGeometry::Hit CardGeometry::hitTest(const QPointF& point, const QSizeF& size, bool hovering) const
{
    if (!QRectF(QPointF(0, 0), size).contains(point)) {
        return {};
    }
    if (hovering) {
        if (deleteButtonRect(size).contains(point)) {
            return {Part::deleteButton};
        }
        if (pinButtonRect(size).contains(point)) {
            return {Part::pinButton};
        }
    }
    // Footer actions are always there; the ones over a footerless body only while hovered.
    if (hovering || m_hasFooter) {
        const QList<QRectF> rects = actionRects(size);
        for (int i = 0; i < rects.size(); ++i) {
            if (rects.at(i).contains(point)) {
                return {Part::action, i};
            }
        }
    }
    if (sourceIconRect(size).contains(point)) {
        return {Part::sourceIcon};
    }
    return {Part::card};
}
