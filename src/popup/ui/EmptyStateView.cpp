// The symbol at 36 and the text at 14, both secondary, 10 apart, centred in the space left.
#include "popup/ui/EmptyStateView.h"

#include "platform/SystemFont.h"
#include "popup/ui/PopupStyle.h"
#include "popup/ui/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

EmptyStateView::EmptyStateView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void EmptyStateView::setText(const QString& text)
{
    m_text = text;
    update();
}

void EmptyStateView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont font = SystemFont::regular(14);
    const QFontMetricsF metrics(font);
    const double symbol = 40;
    const double total = symbol + 10 + metrics.height();
    const double top = (height() - total) / 2;
    Symbols::draw(painter, QStringLiteral("doc.on.clipboard"), QRectF(width() / 2.0 - symbol / 2, top, symbol, symbol),
                  PopupStyle::secondary());
    painter.setFont(font);
    painter.setPen(PopupStyle::secondary());
    painter.drawText(QRectF(16, top + symbol + 10, width() - 32, metrics.height()), Qt::AlignCenter,
                     metrics.elidedText(m_text, Qt::ElideMiddle, width() - 32));
}
