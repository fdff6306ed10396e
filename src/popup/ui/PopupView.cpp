// Wires the search field, the strip and the key monitor to the popup's model.
#include "popup/ui/PopupView.h"

#include "history/ClipboardStore.h"
#include "popup/PopupViewModel.h"
#include "popup/TopRoundedRectangle.h"
#include "popup/ui/CardStripView.h"
#include "popup/ui/EmptyStateView.h"
#include "popup/ui/KeyHandlingView.h"
#include "popup/ui/PopupStyle.h"
#include "popup/ui/SearchBarView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStackedWidget>
#include <QVBoxLayout>

PopupView::PopupView(ClipboardStore& store, std::function<void(const ClipboardItem&, bool)> onPick,
                     std::function<void()> onDismiss, Services services, QWidget* parent)
    : QWidget(parent), m_composited(services.composited)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_model =
        new PopupViewModel(store, std::move(onPick), std::move(onDismiss), std::move(services.isOptionHeld), this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* searchBlock = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchBlock);
    searchLayout->setContentsMargins(16, 14, 16, 12);
    m_searchBar = new SearchBarView(searchBlock);
    searchLayout->addWidget(m_searchBar);
    layout->addWidget(searchBlock);

    m_stack = new QStackedWidget(this);
    m_stack->setAttribute(Qt::WA_TranslucentBackground);
    QPointer<PopupView> self(this);
    CardStripView::Callbacks callbacks{[self](const ClipboardItem& item, Qt::KeyboardModifiers modifiers) {
                                           if (self) {
                                               self->m_model->clickItem(item, modifiers);
                                           }
                                       },
                                       [self](const ClipboardItem& item) {
                                           if (self) {
                                               self->m_model->deleteItem(item);
                                           }
                                       },
                                       [self](const ClipboardItem& item) {
                                           if (self) {
                                               self->m_model->togglePin(item);
                                           }
                                       }};
    m_strip = new CardStripView(std::move(callbacks), std::move(services.handlers), m_stack);
    m_emptyState = new EmptyStateView(m_stack);
    m_stack->addWidget(m_strip);
    m_stack->addWidget(m_emptyState);
    layout->addWidget(m_stack, 1);

    m_keys = new KeyHandlingView(this);
    m_keys->setGeometry(0, 0, 0, 0);
    m_keys->lower();
    m_keys->onLeft = [self] {
        if (self) {
            self->m_model->moveLeft();
        }
    };
    m_keys->onRight = [self] {
        if (self) {
            self->m_model->moveRight();
        }
    };
    m_keys->onReturn = [self] {
        if (self) {
            self->m_model->activate(self->m_model->selection());
        }
    };
    m_keys->onEscape = [self] {
        if (self) {
            self->m_model->dismiss();
        }
    };
    m_keys->onDelete = [self] {
        if (self) {
            self->m_model->deleteCurrent();
        }
    };
    m_keys->onDigit = [self](int digit) {
        if (self) {
            self->m_model->pickDigit(digit);
        }
    };
    m_keys->digitPasteEnabled = [self] { return self && self->m_model->digitPasteEnabled(); };

    connect(m_searchBar->field(), &QLineEdit::textChanged, m_model, &PopupViewModel::setQuery);
    connect(m_searchBar->field(), &QLineEdit::returnPressed, this, [this] { m_model->activate(m_model->selection()); });
    connect(m_searchBar, &SearchBarView::clearAllRequested, m_model, &PopupViewModel::clearAll);
    connect(m_model, &PopupViewModel::filteredChanged, this, &PopupView::refresh);
    // The strip moves only when the user moves the selection; a change of the history leaves the
    // cards in view where they are.
    connect(m_model, &PopupViewModel::selectionChanged, this, [this] {
        m_strip->setSelection(m_model->selection(),
                              isVisible() ? CardStripView::Scroll::animated : CardStripView::Scroll::jump);
    });
    refresh(PopupViewModel::ListChange::search);
}

PopupView::~PopupView() = default;

bool PopupView::isShowingEmptyState() const
{
    return m_stack->currentWidget() == m_emptyState;
}

void PopupView::setComposited(bool composited)
{
    m_composited = composited;
    update();
}

void PopupView::refresh(PopupViewModel::ListChange change)
{
    m_searchBar->countLabel()->setText(m_model->countLabel());
    if (m_model->filtered().isEmpty()) {
        m_emptyState->setText(m_model->emptyStateText());
        m_stack->setCurrentWidget(m_emptyState);
    } else {
        m_stack->setCurrentWidget(m_strip);
    }
    m_strip->setItems(m_model->filtered(), m_model->separatorPosition(), m_model->selection(),
                      change == PopupViewModel::ListChange::history ? CardStripView::Placement::keepCardsInView
                                                                    : CardStripView::Placement::keepOffset);
}

void PopupView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_model->setSelection(0);
    m_strip->setSelection(0, CardStripView::Scroll::jump);
    m_searchBar->field()->setFocus(Qt::OtherFocusReason);
}

void PopupView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    const QPainterPath shape = TopRoundedRectangle{cornerRadius}.path(bounds);
    m_material.paint(painter, shape, m_composited);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PopupStyle::black(0.18));
    painter.drawPath(shape);
    // The outline, half a pixel in so the whole line stays inside the shape.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(PopupStyle::white(0.08), 1));
    painter.drawPath(TopRoundedRectangle{cornerRadius}.path(bounds.adjusted(0.5, 0.5, -0.5, 0)));
}
