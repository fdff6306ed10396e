// The shadow is a blurred rounded rectangle, kept in the pixmap cache per size: a strip paints
// dozens of cards of one size.
#include "popup/ui/CardChrome.h"

#include "platform/SystemFont.h"
#include "popup/CardGeometry.h"
#include "popup/ui/CardPaint.h"
#include "popup/ui/PopupStyle.h"
#include "popup/ui/Symbols.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr double shadowRadius = 14;
constexpr double shadowOffset = 6;
constexpr double shadowOpacity = 0.18;

// Box blur of the alpha channel, three passes each way: close to a Gaussian of the same spread.
void blurAlpha(QImage& image, int radius)
{
    if (radius < 1) {
        return;
    }
    const int w = image.width();
    const int h = image.height();
    std::vector<int> alpha(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            alpha[static_cast<std::size_t>(y * w + x)] = qAlpha(line[x]);
        }
    }
    std::vector<int> scratch(alpha.size());
    const int window = 2 * radius + 1;
    auto pass = [&](bool horizontal) {
        const int lines = horizontal ? h : w;
        const int length = horizontal ? w : h;
        for (int l = 0; l < lines; ++l) {
            auto at = [&](int i) -> int& {
                const int x = horizontal ? i : l;
                const int y = horizontal ? l : i;
                return alpha[static_cast<std::size_t>(y * w + x)];
            };
            auto out = [&](int i) -> int& {
                const int x = horizontal ? i : l;
                const int y = horizontal ? l : i;
                return scratch[static_cast<std::size_t>(y * w + x)];
            };
            int sum = 0;
            for (int i = -radius; i <= radius; ++i) {
                sum += (i >= 0 && i < length) ? at(i) : 0;
            }
            for (int i = 0; i < length; ++i) {
                out(i) = sum / window;
                const int leaving = i - radius;
                const int entering = i + radius + 1;
                sum -= (leaving >= 0) ? at(leaving) : 0;
                sum += (entering < length) ? at(entering) : 0;
            }
        }
        alpha.swap(scratch);
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            line[x] = qRgba(0, 0, 0, alpha[static_cast<std::size_t>(y * w + x)]);
        }
    }
}

QPixmap shadowPixmap(const QSizeF& size, qreal ratio, int margin)
{
    const QSize pixels((size.toSize() + QSize(2 * margin, 2 * margin)) * ratio);
    const QString key = QStringLiteral("stashwell.cardshadow:%1x%2").arg(pixels.width()).arg(pixels.height());
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) {
        return cached;
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(margin * ratio, margin * ratio, size.width() * ratio, size.height() * ratio),
                                CardGeometry::cornerRadius * ratio, CardGeometry::cornerRadius * ratio);
    }
    // A blur radius r spreads like a Gaussian of deviation r / 2; three box passes of half-width
    // about that deviation come close to it.
    blurAlpha(image, static_cast<int>(std::lround(shadowRadius / 2 * ratio)));
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}
} // namespace

void CardChrome::paintShadow(QPainter& painter, const QRectF& rect)
{
    const int margin = static_cast<int>(shadowRadius * 2);
    const QPixmap shadow = shadowPixmap(rect.size(), CardPaint::ratioOf(painter), margin);
    painter.save();
    painter.setOpacity(painter.opacity() * shadowOpacity);
    painter.drawPixmap(QPointF(rect.x() - margin, rect.y() - margin + shadowOffset), shadow);
    painter.restore();
}

void CardChrome::paintHeader(QPainter& painter, const QRectF& rect, const Header& header, double hover)
{
    const QRectF band(0, 0, rect.width(), CardGeometry::headerHeight);
    painter.fillRect(band, header.color);

    const QRectF icon = CardGeometry::sourceIconRect(rect.size());
    const double textLeft = 12;
    const double textRight = hover > 0 ? CardGeometry::pinButtonRect(rect.size()).left() : icon.left();
    const double textWidth = std::max(0.0, textRight - 8 - textLeft);
    const QFont titleFont = SystemFont::regular(14, QFont::DemiBold);
    const QFont ageFont = SystemFont::regular(11);
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF ageMetrics(ageFont);
    const double textHeight = titleMetrics.height() + 2 + ageMetrics.height();
    const double top = std::max(6.0, (CardGeometry::headerHeight - textHeight) / 2);
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(textLeft, top, textWidth, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(header.title, Qt::ElideRight, textWidth));
    painter.setFont(ageFont);
    painter.setPen(PopupStyle::white(0.85));
    painter.drawText(QRectF(textLeft, top + titleMetrics.height() + 2, textWidth, ageMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, ageMetrics.elidedText(header.age, Qt::ElideRight, textWidth));

    if (header.sourceIcon) {
        const QPixmap pixmap = header.sourceIcon->pixmap(QSize(28, 28), CardPaint::ratioOf(painter));
        painter.drawPixmap(icon, pixmap, QRectF(QPointF(0, 0), pixmap.size()));
    } else {
        Symbols::draw(painter, QStringLiteral("app.dashed"), icon.adjusted(3, 3, -3, -3), PopupStyle::white(0.9));
    }
}

void CardChrome::paintBorder(QPainter& painter, const QRectF& rect, bool isSelected)
{
    const double width = isSelected ? 3 : 1;
    const QColor color = isSelected ? PopupStyle::accent() : PopupStyle::black(0.06);
    const double inset = width / 2;
    const double radius = CardGeometry::cornerRadius - inset;
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius, radius);
}

void CardChrome::paintHoverButtons(QPainter& painter, const QRectF& rect, bool isPinned, double hover)
{
    painter.save();
    painter.setOpacity(painter.opacity() * hover);
    painter.setPen(Qt::NoPen);

    const QRectF pin = CardGeometry::pinButtonRect(rect.size());
    painter.setBrush(PopupStyle::black(0.25));
    painter.drawEllipse(pin);
    Symbols::draw(painter, isPinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"), pin.adjusted(5, 5, -5, -5),
                  isPinned ? QColor(255, 204, 0) : PopupStyle::white(0.95));

    const QRectF del = CardGeometry::deleteButtonRect(rect.size());
    painter.setBrush(PopupStyle::black(0.35));
    painter.drawEllipse(del);
    painter.setPen(QPen(PopupStyle::white(0.95), 1.8, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = del.adjusted(6.5, 6.5, -6.5, -6.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.restore();
}

void CardChrome::paintOverlayActions(QPainter& painter, const QList<QRectF>& rects, const QList<CardAction>& actions,
                                     double hover)
{
    painter.save();
    painter.setOpacity(painter.opacity() * hover);
    for (int i = 0; i < rects.size(); ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(PopupStyle::black(0.45));
        painter.drawEllipse(rects.at(i));
        Symbols::draw(painter, actions.at(i).icon, rects.at(i).adjusted(7, 7, -7, -7), PopupStyle::white(0.95));
    }
    painter.restore();
}

void CardChrome::paintFooter(QPainter& painter, const QRectF& body, const QString& infoText, bool isCharCount,
                             int index, const QList<CardAction>& actions, const QList<QRectF>& actionRects)
{
    const QRectF footer = CardGeometry::footerRect(body);
    // Number badge, right-aligned.
    const QFont badgeFont = SystemFont::regular(11, QFont::Medium);
    const QFontMetricsF badgeMetrics(badgeFont);
    const QString number = QString::number(index);
    const double numberWidth = badgeMetrics.horizontalAdvance(number);
    const double badgeLeft = footer.right() - numberWidth - 3 - 9;
    Symbols::draw(painter, QStringLiteral("text.alignleft"), QRectF(badgeLeft, footer.center().y() - 4.5, 9, 9),
                  PopupStyle::black(0.4));
    painter.setFont(badgeFont);
    painter.setPen(PopupStyle::black(0.4));
    painter.drawText(QRectF(footer.right() - numberWidth, footer.top(), numberWidth + 1, footer.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, number);

    for (int i = 0; i < actionRects.size(); ++i) {
        Symbols::draw(painter, actions.at(i).icon, actionRects.at(i).adjusted(2.5, 2.5, -2.5, -2.5),
                      PopupStyle::black(0.55));
    }
    const double infoRight = (actionRects.isEmpty() ? badgeLeft : actionRects.first().left()) -
                             CardGeometry::footerSpacing;
    const double infoWidth = std::max(0.0, infoRight - footer.left());
    if (!infoText.isEmpty()) {
        const QFont infoFont = SystemFont::regular(11);
        const QFontMetricsF infoMetrics(infoFont);
        painter.setFont(infoFont);
        painter.setPen(PopupStyle::black(isCharCount ? 0.45 : 0.5));
        QString shown = infoText;
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        painter.drawText(QRectF(footer.left(), footer.top(), infoWidth, footer.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         infoMetrics.elidedText(shown, isCharCount ? Qt::ElideRight : Qt::ElideMiddle, infoWidth));
    }
}
