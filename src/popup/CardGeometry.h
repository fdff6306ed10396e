// Where the parts of a card stand, and which part is under a point: functions of the card's size
// and its item alone, so cards and tests find the same rectangles without painting.
#pragma once

#include "history/ClipboardItem.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

class CardGeometry
{
public:
    // What is under a point of the card.
    enum class Part { none, card, pinButton, deleteButton, action, sourceIcon };
    struct Hit
    {
        Part part = Part::none;
        int action = -1; // index into the card's actions for Part::action

        bool operator==(const Hit&) const = default;
    };

    static constexpr double cornerRadius = 14;
    static constexpr double headerHeight = 50;
    static constexpr double footerHeight = 18;
    static constexpr double footerTop = 6;
    static constexpr double footerBottom = 10;
    static constexpr double footerSide = 14;
    static constexpr double footerSpacing = 6;
    static constexpr double overlayButton = 28;

    // A card numbered `index` with `actionCount` action buttons.
    CardGeometry(const ClipboardItem& item, int index, qsizetype actionCount);

    // Whether the item's card has a footer (text, link and plain-file cards); the others show their
    // actions over the body while hovered.
    static bool hasFooter(const ClipboardItem& item);
    bool hasFooter() const { return m_hasFooter; }

    // Everything below the header.
    static QRectF bodyRect(const QSizeF& size);
    // The footer line at the bottom of a body, and the height it takes with its margins.
    static QRectF footerRect(const QRectF& body);
    static double footerSpace();
    // The preview text of text and link cards, above the footer.
    static QRectF textArea(const QRectF& body);
    // The icon and name of a plain-file card, above the footer.
    static QRectF fileArea(const QRectF& body);

    // The hover buttons stand in the header left of the source icon, which stays in view.
    static QRectF sourceIconRect(const QSizeF& size);
    static QRectF deleteButtonRect(const QSizeF& size);
    static QRectF pinButtonRect(const QSizeF& size);
    // The action buttons: in the footer left of the card's number, else over the body's bottom right.
    QList<QRectF> actionRects(const QSizeF& size) const;

    // `point` is relative to the card's frame of `size`; hover buttons count only while `hovering`.
    Hit hitTest(const QPointF& point, const QSizeF& size, bool hovering) const;

private:
    int m_index;
    qsizetype m_actionCount;
    bool m_hasFooter;
};
