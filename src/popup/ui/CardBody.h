// The part of a card below its header, drawn for the item's kind. A body keeps what it laid out or
// asked the preview workers for at the size it was last drawn at.
#pragma once

#include "history/ClipboardItem.h"

#include <QRectF>
#include <memory>

class QPainter;

class CardBody
{
public:
    // The body for the item's kind.
    static std::unique_ptr<CardBody> forItem(const ClipboardItem& item);

    virtual ~CardBody() = default;
    // Paints into `body`, the card's frame below the header; the footer, where the card has one,
    // is painted over its bottom afterwards.
    virtual void paint(QPainter& painter, const QRectF& body) = 0;
};
