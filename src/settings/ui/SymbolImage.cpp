#include "settings/ui/SymbolImage.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

QPixmap SymbolImage::pixmap(const QString& name, int size, const QColor& color, qreal devicePixelRatio)
{
    QSvgRenderer renderer(QStringLiteral(":/resources/icons/") + name + QStringLiteral(".svg"));
    if (!renderer.isValid() || size <= 0) {
        return {};
    }
    const int pixels = static_cast<int>(std::ceil(size * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    // Keep the symbol's coverage, replace its colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

QIcon SymbolImage::icon(const QString& name, int size, const QColor& color)
{
    QIcon result;
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap image = pixmap(name, size, color, ratio);
        if (!image.isNull()) {
            result.addPixmap(image);
        }
    }
    return result;
}
