// What every card has around its body: the shadow under it, the coloured header, the border, the
// hover buttons, and the footer line of the cards that have one.
#pragma once

#include "popup/CardAction.h"

#include <QColor>
#include <QIcon>
#include <QList>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;

namespace CardChrome {
struct Header
{
    QColor color;                   // the source application's accent colour
    std::optional<QIcon> sourceIcon; // none: a dashed placeholder
    QString title;
    QString age;
};

// The soft shadow of a card whose frame is `rect`; it falls outside the frame, mostly below.
void paintShadow(QPainter& painter, const QRectF& rect);
// The header band across the top of a card of `rect`'s size; with the hover buttons showing
// (`hover` above 0), the title and the age give way to them.
void paintHeader(QPainter& painter, const QRectF& rect, const Header& header, double hover);
// The border, stroked inside the card's edge: thick in the accent colour when selected.
void paintBorder(QPainter& painter, const QRectF& rect, bool isSelected);
// The pin and delete buttons at `hover` opacity.
void paintHoverButtons(QPainter& painter, const QRectF& rect, bool isPinned, double hover);
// The actions of a footerless card, over its body at `hover` opacity.
void paintOverlayActions(QPainter& painter, const QList<QRectF>& rects, const QList<CardAction>& actions,
                         double hover);
// The footer at the bottom of `body`: the info text (a character count, or a host or folder cut
// in the middle), the actions in `actionRects`, and the card's number.
void paintFooter(QPainter& painter, const QRectF& body, const QString& infoText, bool isCharCount, int index,
                 const QList<CardAction>& actions, const QList<QRectF>& actionRects);
} // namespace CardChrome
