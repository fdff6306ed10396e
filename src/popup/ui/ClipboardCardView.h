// One history item drawn as a card: coloured header, a body for its kind, footer, hover buttons.
// Cards are painted by the strip that shows them (only those in view exist), so a card is a
// painter with hit-testing rather than a widget.
#pragma once

#include "history/ClipboardItem.h"
#include "popup/CardAction.h"
#include "popup/CardContent.h"
#include "popup/CardGeometry.h"
#include "popup/ui/CardChrome.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

class CardBody;
class QPainter;
class RelativeAge;

class ClipboardCardView
{
public:
    struct Callbacks
    {
        std::function<void()> onActivate;
        std::function<void()> onDelete;
        std::function<void()> onTogglePin;
    };

    using Part = CardGeometry::Part;
    using Hit = CardGeometry::Hit;

    static constexpr double cornerRadius = CardGeometry::cornerRadius;
    static constexpr double headerHeight = CardGeometry::headerHeight;

    ClipboardCardView(const ClipboardItem& item, int index, bool isSelected, Callbacks callbacks,
                      const CardActionHandlers& handlers, const RelativeAge& age, const QDateTime& now);
    ~ClipboardCardView();
    ClipboardCardView(const ClipboardCardView&) = delete;
    ClipboardCardView& operator=(const ClipboardCardView&) = delete;

    const ClipboardItem& item() const { return m_item; }
    int index() const { return m_index; }
    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected) { m_isSelected = selected; }
    const QList<CardAction>& smartActions() const { return m_actions; }
    const QString& ageText() const { return m_header.age; }
    // Describes the item's age as of `now` (cards drawn together share one moment, so their ages
    // agree); within the second it was last described for, nothing changes.
    void refreshAge(const RelativeAge& age, const QDateTime& now);

    // Paints the card into `rect` (the card's frame; the shadow falls outside it). `hover` is the
    // hover buttons' opacity, from 0 (hidden) to 1.
    void paint(QPainter& painter, const QRectF& rect, double hover);
    static void paintShadow(QPainter& painter, const QRectF& rect);

    // `point` is relative to the card's frame of `size`; hover buttons count only while `hovering`.
    Hit hitTest(const QPointF& point, const QSizeF& size, bool hovering) const;
    // The tooltip of a part: the button's label, the source application's name, else the card's.
    QString toolTip(const Hit& hit) const;
    // A click on a part: a button runs its action, anywhere else activates the card.
    void click(const Hit& hit);

private:
    ClipboardItem m_item;
    int m_index;
    bool m_isSelected;
    Callbacks m_callbacks;
    QList<CardAction> m_actions;
    CardGeometry m_geometry;
    CardChrome::Header m_header;
    qint64 m_ageSecond = 0; // the moment the header's age describes the age at
    QString m_footerText;
    std::unique_ptr<CardBody> m_body;
};
