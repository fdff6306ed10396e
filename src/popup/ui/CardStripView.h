// The horizontal strip of cards. Only the cards in view exist and are painted, so a history of
// 1,000 entries costs what 10 do. A move of the selection scrolls the selected card to the centre;
// nothing else moves the strip but the user's own scrolling.
#pragma once

#include "history/ClipboardItem.h"
#include "popup/CardContent.h"
#include "popup/ui/ClipboardCardView.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QUuid>
#include <functional>
#include <map>
#include <memory>

class QPropertyAnimation;
class QVariantAnimation;
class RelativeAge;

class CardStripView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    struct Callbacks
    {
        // With the modifiers the click was made with.
        std::function<void(const ClipboardItem&, Qt::KeyboardModifiers)> onActivate;
        std::function<void(const ClipboardItem&)> onDelete;
        std::function<void(const ClipboardItem&)> onTogglePin;
    };

    CardStripView(Callbacks callbacks, CardActionHandlers handlers, QWidget* parent = nullptr);
    ~CardStripView() override;

    enum class Placement {
        keepOffset,      // the strip stays scrolled as it is (a new search, which centres its selection next)
        keepCardsInView, // the cards the user looks at stay where they are on screen (the history
                         // changed); a strip at its start stays there
    };
    enum class Scroll { none, jump, animated };

    // A new list, with `selection` the position of the selected card in it. Cards whose item and
    // number are unchanged are kept; the others in view are built anew.
    void setItems(const QList<ClipboardItem>& items, int separatorPosition, int selection, Placement placement);
    // Marks the selected card and, unless told not to, scrolls it to the centre (over 0.18 s when
    // animated).
    void setSelection(int selection, Scroll scroll = Scroll::animated);

    // Card size for a strip of height h: H = max(h - 24, 160), W = max(0.85 H, 220).
    static QSizeF cardSize(double stripHeight);
    // The frame of the card at `position`, in content coordinates (before scrolling).
    QRectF cardFrame(int position) const;
    QRectF separatorFrame() const;
    double contentWidth() const;
    // The positions whose cards are (at least partly) in view.
    std::pair<int, int> visibleRange() const;
    int builtCardCount() const { return static_cast<int>(m_cards.size()); }
    // The scroll offset that centres the card at `position`, within the scrollable range.
    int centredOffset(int position) const;
    // The positions of the cards at least partly within the viewport, left to right.
    QList<int> cardsInView() const;

    static constexpr int scrollDurationMs = 180;
    static constexpr int hoverDurationMs = 120;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct CardHit
    {
        int position = -1;
        ClipboardCardView::Hit hit;
    };
    CardHit hitAt(const QPointF& viewportPoint);
    ClipboardCardView* cardAt(int position);
    void updateBuiltCards();
    void updateScrollRange();
    void setHovered(int position);
    void animateHover(const QUuid& id, double target);
    double hoverOf(const QUuid& id) const;

    Callbacks m_callbacks;
    CardActionHandlers m_handlers;
    QList<ClipboardItem> m_items;
    int m_separator = -1;
    int m_selection = 0;
    QSizeF m_cardSize;
    std::unique_ptr<RelativeAge> m_age;
    std::map<int, std::unique_ptr<ClipboardCardView>> m_cards; // position -> card in view
    // While a new list is taken in: the cards built for the old one, for reuse where they still fit.
    std::map<QUuid, std::unique_ptr<ClipboardCardView>> m_reusable;
    QUuid m_hoveredId;
    QHash<QUuid, double> m_hover;
    QHash<QUuid, QPointer<QVariantAnimation>> m_hoverAnimations;
    QPropertyAnimation* m_scrollAnimation = nullptr;
    CardHit m_pressed;
    Qt::KeyboardModifiers m_clickModifiers; // of the click a card is being told of
};
