// Lays the cards out in one row (padding 24 left and right, 12 above and below, 14 between
// cards), paints those in view, and turns pointer events into the cards' clicks and tooltips.
#include "popup/ui/CardStripView.h"

#include "popup/CardPreviewLoader.h"
#include "popup/RelativeAge.h"

#include <QCursor>
#include <QDateTime>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QToolTip>
#include <QVariantAnimation>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
constexpr double sidePadding = 24;
constexpr double spacing = 14;
constexpr double separatorSlot = 2 + 4 + 4; // 2 wide, 4 of padding each side
constexpr double shadowReach = 30;          // how far a card's shadow reaches beyond its frame
} // namespace

CardStripView::CardStripView(Callbacks callbacks, CardActionHandlers handlers, QWidget* parent)
    : QAbstractScrollArea(parent), m_callbacks(std::move(callbacks)), m_handlers(std::move(handlers)),
      m_age(std::make_unique<RelativeAge>())
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    viewport()->setAttribute(Qt::WA_TranslucentBackground);
    horizontalScrollBar()->setSingleStep(40);
    m_scrollAnimation = new QPropertyAnimation(horizontalScrollBar(), "value", this);
    m_scrollAnimation->setDuration(scrollDurationMs);
    m_scrollAnimation->setEasingCurve(QEasingCurve::InOutCubic);
    // Previews are read on workers; a card shows its placeholder until its own arrives.
    connect(&CardPreviewLoader::shared(), &CardPreviewLoader::previewReady, this, [this] { viewport()->update(); });
}

CardStripView::~CardStripView() = default;

QSizeF CardStripView::cardSize(double stripHeight)
{
    const double height = std::max(stripHeight - 24, 160.0);
    return QSizeF(std::max(0.85 * height, 220.0), height);
}

QRectF CardStripView::cardFrame(int position) const
{
    double x = sidePadding + position * (m_cardSize.width() + spacing);
    if (m_separator >= 0 && position >= m_separator) {
        x += separatorSlot + spacing;
    }
    const double y = (viewport()->height() - m_cardSize.height()) / 2;
    return QRectF(QPointF(x, y), m_cardSize);
}

QRectF CardStripView::separatorFrame() const
{
    if (m_separator < 0) {
        return {};
    }
    const double x = sidePadding + m_separator * (m_cardSize.width() + spacing) + 4;
    const double height = 0.7 * m_cardSize.height();
    return QRectF(x, (viewport()->height() - height) / 2, 2, height);
}

double CardStripView::contentWidth() const
{
    const auto n = static_cast<double>(m_items.size());
    if (n == 0) {
        return 0;
    }
    double width = 2 * sidePadding + n * m_cardSize.width() + (n - 1) * spacing;
    if (m_separator >= 0) {
        width += separatorSlot + spacing;
    }
    return width;
}

std::pair<int, int> CardStripView::visibleRange() const
{
    if (m_items.isEmpty() || m_cardSize.width() <= 0) {
        return {0, -1};
    }
    const double left = horizontalScrollBar()->value() - shadowReach;
    const double right = horizontalScrollBar()->value() + viewport()->width() + shadowReach;
    const double pitch = m_cardSize.width() + spacing;
    const int last = static_cast<int>(m_items.size()) - 1;
    // The separator only ever shifts cards to the right, so start from the estimate without it
    // and step until the frames agree.
    int first =
        std::clamp(static_cast<int>(std::floor((left - sidePadding - separatorSlot - spacing) / pitch)), 0, last);
    while (first < last && cardFrame(first).right() < left) {
        ++first;
    }
    int end = first;
    while (end < last && cardFrame(end + 1).left() <= right) {
        ++end;
    }
    return {first, end};
}

int CardStripView::centredOffset(int position) const
{
    const QRectF frame = cardFrame(position);
    const double offset = frame.center().x() - viewport()->width() / 2.0;
    return std::clamp(static_cast<int>(std::lround(offset)), 0, horizontalScrollBar()->maximum());
}

QList<int> CardStripView::cardsInView() const
{
    QList<int> positions;
    const auto [first, last] = visibleRange();
    const double left = horizontalScrollBar()->value();
    const double right = left + viewport()->width();
    for (int position = first; position <= last; ++position) {
        const QRectF frame = cardFrame(position);
        if (frame.right() > left && frame.left() < right) {
            positions.append(position);
        }
    }
    return positions;
}

void CardStripView::setItems(const QList<ClipboardItem>& items, int separatorPosition, int selection,
                             Placement placement)
{
    // The card that holds the view in place: the one nearest the middle of the view that is still
    // in the list and has not moved for a pin of its own (a card just pinned or unpinned goes
    // elsewhere). New copies and pins come in at the left, so usually every card in view stays.
    // A strip at its start stays at its start, where they come in.
    QUuid anchorId;
    double anchorX = 0;
    if (placement == Placement::keepCardsInView && horizontalScrollBar()->value() > 0) {
        QList<int> candidates = cardsInView();
        const double middle = horizontalScrollBar()->value() + viewport()->width() / 2.0;
        std::stable_sort(candidates.begin(), candidates.end(), [this, middle](int a, int b) {
            return std::abs(cardFrame(a).center().x() - middle) < std::abs(cardFrame(b).center().x() - middle);
        });
        for (int position : candidates) {
            const ClipboardItem& old = m_items.at(position);
            const bool staysPut = std::any_of(items.cbegin(), items.cend(), [&old](const ClipboardItem& item) {
                return item.id == old.id && item.isPinned == old.isPinned;
            });
            if (staysPut) {
                anchorId = old.id;
                anchorX = cardFrame(position).left() - horizontalScrollBar()->value();
                break;
            }
        }
    }
    const bool wasScrolling = m_scrollAnimation->state() == QAbstractAnimation::Running;
    m_scrollAnimation->stop();

    for (auto& [position, card] : m_cards) {
        m_reusable[card->item().id] = std::move(card);
    }
    m_cards.clear();
    m_items = items;
    m_separator = separatorPosition;
    m_selection = selection;
    updateScrollRange();
    if (!anchorId.isNull()) {
        const auto anchor = std::find_if(m_items.cbegin(), m_items.cend(),
                                         [&anchorId](const ClipboardItem& item) { return item.id == anchorId; });
        const double target = cardFrame(static_cast<int>(anchor - m_items.cbegin())).left() - anchorX;
        horizontalScrollBar()->setValue(static_cast<int>(std::lround(target)));
    }
    updateBuiltCards();
    m_reusable.clear();
    if (!m_hoveredId.isNull() && std::none_of(m_items.cbegin(), m_items.cend(),
                                              [this](const ClipboardItem& i) { return i.id == m_hoveredId; })) {
        m_hoveredId = QUuid();
    }
    // A move of the selection under way goes on to the selected card, wherever it is now.
    if (wasScrolling && m_selection >= 0 && m_selection < m_items.size()) {
        setSelection(m_selection, Scroll::animated);
    }
    viewport()->update();
}

void CardStripView::setSelection(int selection, Scroll scroll)
{
    m_selection = selection;
    for (auto& [position, card] : m_cards) {
        card->setSelected(position == selection);
    }
    viewport()->update();
    if (scroll == Scroll::none || selection < 0 || selection >= m_items.size()) {
        return; // a selection outside the list scrolls nothing
    }
    const int target = centredOffset(selection);
    m_scrollAnimation->stop();
    if (scroll == Scroll::jump || target == horizontalScrollBar()->value()) {
        horizontalScrollBar()->setValue(target);
        return;
    }
    m_scrollAnimation->setStartValue(horizontalScrollBar()->value());
    m_scrollAnimation->setEndValue(target);
    m_scrollAnimation->start();
}

void CardStripView::updateScrollRange()
{
    m_cardSize = cardSize(viewport()->height());
    const int range = std::max(0, static_cast<int>(std::ceil(contentWidth())) - viewport()->width());
    horizontalScrollBar()->setRange(0, range);
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void CardStripView::updateBuiltCards()
{
    const auto [first, last] = visibleRange();
    for (auto it = m_cards.begin(); it != m_cards.end();) {
        it = (it->first < first || it->first > last) ? m_cards.erase(it) : std::next(it);
    }
    if (last < first) {
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int position = first; position <= last; ++position) {
        if (m_cards.count(position)) {
            continue;
        }
        const ClipboardItem& item = m_items.at(position);
        if (const auto reusable = m_reusable.find(item.id); reusable != m_reusable.end() && reusable->second &&
                                                            reusable->second->index() == position + 1 &&
                                                            reusable->second->item() == item) {
            reusable->second->setSelected(position == m_selection);
            m_cards[position] = std::move(reusable->second);
            continue;
        }
        QPointer<CardStripView> self(this);
        ClipboardCardView::Callbacks callbacks{[self, item] {
                                                   if (self && self->m_callbacks.onActivate) {
                                                       self->m_callbacks.onActivate(item, self->m_clickModifiers);
                                                   }
                                               },
                                               [self, item] {
                                                   if (self && self->m_callbacks.onDelete) {
                                                       self->m_callbacks.onDelete(item);
                                                   }
                                               },
                                               [self, item] {
                                                   if (self && self->m_callbacks.onTogglePin) {
                                                       self->m_callbacks.onTogglePin(item);
                                                   }
                                               }};
        m_cards[position] = std::make_unique<ClipboardCardView>(item, position + 1, position == m_selection,
                                                                std::move(callbacks), m_handlers, *m_age, now);
    }
}

ClipboardCardView* CardStripView::cardAt(int position)
{
    const auto found = m_cards.find(position);
    return found == m_cards.end() ? nullptr : found->second.get();
}

void CardStripView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-horizontalScrollBar()->value(), 0);
    const auto [first, last] = visibleRange();
    if (m_separator >= 0 && m_separator >= first && m_separator <= last + 1) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 31)); // white at 0.12
        painter.drawRoundedRect(separatorFrame(), 1, 1);
    }
    // All shadows first, so no shadow falls across the card beside it.
    for (int position = first; position <= last; ++position) {
        ClipboardCardView::paintShadow(painter, cardFrame(position));
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int position = first; position <= last; ++position) {
        if (ClipboardCardView* card = cardAt(position)) {
            card->refreshAge(*m_age, now);
            card->paint(painter, cardFrame(position), hoverOf(card->item().id));
        }
    }
}

void CardStripView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSizeF before = m_cardSize;
    updateScrollRange();
    if (before != m_cardSize) {
        m_cards.clear(); // laid out for the old size
    }
    updateBuiltCards();
    if (m_selection >= 0 && m_selection < m_items.size()) {
        horizontalScrollBar()->setValue(centredOffset(m_selection));
    }
}

void CardStripView::scrollContentsBy(int, int)
{
    updateBuiltCards();
    // Another card is under the pointer now: its hover state and tooltip, not the old card's.
    QToolTip::hideText();
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    setHovered(viewport()->rect().contains(pointer) && viewport()->underMouse() ? hitAt(pointer).position : -1);
    viewport()->update();
}

void CardStripView::wheelEvent(QWheelEvent* event)
{
    // A strip scrolls sideways; an ordinary wheel turns into sideways scrolling.
    const QPoint delta = event->angleDelta();
    const int steps = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    m_scrollAnimation->stop();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - steps * horizontalScrollBar()->singleStep() / 40);
    event->accept();
}

CardStripView::CardHit CardStripView::hitAt(const QPointF& viewportPoint)
{
    const QPointF point = viewportPoint + QPointF(horizontalScrollBar()->value(), 0);
    const auto [first, last] = visibleRange();
    for (int position = first; position <= last; ++position) {
        const QRectF frame = cardFrame(position);
        if (!frame.contains(point)) {
            continue;
        }
        ClipboardCardView* card = cardAt(position);
        if (!card) {
            return {};
        }
        const bool hovering = card->item().id == m_hoveredId;
        return {position, card->hitTest(point - frame.topLeft(), frame.size(), hovering)};
    }
    return {};
}

void CardStripView::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(hitAt(event->position()).position);
}

void CardStripView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = hitAt(event->position());
}

void CardStripView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const CardHit released = hitAt(event->position());
    const CardHit pressed = m_pressed;
    m_pressed = {};
    if (released.position < 0 || released.position != pressed.position || released.hit != pressed.hit) {
        return;
    }
    if (ClipboardCardView* card = cardAt(released.position)) {
        m_clickModifiers = event->modifiers();
        card->click(released.hit); // may rebuild the strip or close the popup: nothing follows
    }
}

bool CardStripView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        const CardHit hit = hitAt(help->pos());
        ClipboardCardView* card = hit.position >= 0 ? cardAt(hit.position) : nullptr;
        const QString text = card ? card->toolTip(hit.hit) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport());
        }
        return true;
    }
    case QEvent::Leave:
        setHovered(-1);
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CardStripView::setHovered(int position)
{
    const QUuid id = position >= 0 && position < m_items.size() ? m_items.at(position).id : QUuid();
    if (id == m_hoveredId) {
        return;
    }
    if (!m_hoveredId.isNull()) {
        animateHover(m_hoveredId, 0);
    }
    m_hoveredId = id;
    if (!id.isNull()) {
        animateHover(id, 1);
    }
}

double CardStripView::hoverOf(const QUuid& id) const
{
    return m_hover.value(id, 0.0);
}

void CardStripView::animateHover(const QUuid& id, double target)
{
    if (QVariantAnimation* running = m_hoverAnimations.value(id)) {
        running->stop(); // deletes itself once stopped
    }
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(hoverDurationMs);
    animation->setEasingCurve(QEasingCurve::InOutCubic);
    animation->setStartValue(hoverOf(id));
    animation->setEndValue(target);
    connect(animation, &QVariantAnimation::valueChanged, this, [this, id](const QVariant& value) {
        const double opacity = value.toDouble();
        if (opacity <= 0) {
            m_hover.remove(id);
        } else {
            m_hover.insert(id, opacity);
        }
        viewport()->update();
    });
    connect(animation, &QVariantAnimation::finished, this, [this, id, animation] {
        if (m_hoverAnimations.value(id) == animation) {
            m_hoverAnimations.remove(id);
        }
    });
    m_hoverAnimations.insert(id, animation);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
