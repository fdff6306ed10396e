// Padding 14 left and right and 8 above and below, on a rounded fill of white at 0.06.
#include "popup/ui/SearchBarView.h"

#include "platform/SystemFont.h"
#include "popup/ui/PopupStyle.h"
#include "popup/ui/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

SearchBarView::SearchBarView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 8, 14, 8);
    layout->setSpacing(10);

    m_glass = new QLabel(this);
    const qreal ratio = devicePixelRatioF();
    m_glass->setPixmap(
        Symbols::pixmap(QStringLiteral("magnifyingglass"), QSizeF(15, 15), PopupStyle::secondary(), ratio));
    m_glass->setFixedSize(16, 16);
    m_glass->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_glass);

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setPlaceholderText(QStringLiteral("Search clipboard\u2026"));
    m_field->setFrame(false);
    m_field->setFont(SystemFont::regular(14));
    m_field->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette fieldPalette = m_field->palette();
    fieldPalette.setColor(QPalette::Base, Qt::transparent);
    fieldPalette.setColor(QPalette::Text, PopupStyle::white(0.92));
    fieldPalette.setColor(QPalette::PlaceholderText, PopupStyle::white(0.4));
    fieldPalette.setColor(QPalette::Highlight, PopupStyle::accent());
    fieldPalette.setColor(QPalette::HighlightedText, Qt::white);
    m_field->setPalette(fieldPalette);
    m_field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    layout->addWidget(m_field, 1);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("countLabel"));
    m_count->setFont(SystemFont::regular(11));
    QPalette countPalette = m_count->palette();
    countPalette.setColor(QPalette::WindowText, PopupStyle::secondary());
    m_count->setPalette(countPalette);
    layout->addWidget(m_count);

    m_menu = new QMenu(this);
    QAction* clear = m_menu->addAction(QStringLiteral("Clear All History"));
    clear->setObjectName(QStringLiteral("clearAllHistory"));
    connect(clear, &QAction::triggered, this, &SearchBarView::clearAllRequested);

    m_menuButton = new QToolButton(this);
    m_menuButton->setObjectName(QStringLiteral("moreButton"));
    m_menuButton->setAutoRaise(true);
    m_menuButton->setFocusPolicy(Qt::NoFocus);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setMenu(m_menu);
    m_menuButton->setFixedSize(28, 22);
    m_menuButton->setIconSize(QSize(17, 17));
    m_menuButton->setIcon(
        QIcon(Symbols::pixmap(QStringLiteral("ellipsis.circle"), QSizeF(17, 17), PopupStyle::white(0.7), ratio)));
    m_menuButton->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                               "QToolButton::menu-indicator { image: none; width: 0; }"));
    layout->addWidget(m_menuButton);
}

void SearchBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PopupStyle::white(0.06));
    painter.drawRoundedRect(QRectF(rect()), 10, 10);
}
