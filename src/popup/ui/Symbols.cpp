// Symbols are black SVG shapes; tinting keeps their alpha and replaces their colour.
#include "popup/ui/Symbols.h"

#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <cmath>

QPixmap Symbols::pixmap(const QString& name, const QSizeF& size, const QColor& color, qreal devicePixelRatio)
{
    const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                       static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
    if (pixels.isEmpty()) {
        return {};
    }
    const QString key = QStringLiteral("stashwell.symbol:%1:%2x%3:%4")
                            .arg(name)
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(color.rgba(), 8, 16, QLatin1Char('0'));
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) {
        return cached;
    }
    QSvgRenderer renderer(QStringLiteral(":/resources/icons/") + name + QStringLiteral(".svg"));
    if (!renderer.isValid()) {
        return {};
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF natural = QSizeF(renderer.defaultSize()).scaled(QSizeF(pixels), Qt::KeepAspectRatio);
    renderer.render(
        &painter,
        QRectF(QPointF((pixels.width() - natural.width()) / 2, (pixels.height() - natural.height()) / 2), natural));
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, result);
    return result;
}

void Symbols::draw(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap symbol = pixmap(name, rect.size(), color, ratio);
    if (!symbol.isNull()) {
        painter.drawPixmap(rect.topLeft(), symbol);
    }
}
