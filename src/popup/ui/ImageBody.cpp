// A document's first page shows from its top, where its title is; a picture from its middle.
#include "popup/ui/ImageBody.h"

#include "platform/SystemFont.h"
#include "popup/PreviewImage.h"
#include "popup/ui/CardPaint.h"
#include "popup/ui/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {
QStringList imagePaths(const ClipboardItem& item)
{
    QStringList paths;
    if (item.thumbnailPath) {
        paths << *item.thumbnailPath;
    }
    if (item.imagePath) {
        paths << *item.imagePath;
    }
    return paths;
}
} // namespace

ImageBody::ImageBody(const ClipboardItem& item) : m_paths(imagePaths(item)), m_isPdf(item.kind == ClipboardKind::pdf)
{}

void ImageBody::paint(QPainter& painter, const QRectF& body)
{
    painter.fillRect(body, CardPaint::lightGrey());
    const qreal ratio = CardPaint::ratioOf(painter);
    const QSize size = (body.size() * ratio).toSize();
    const PreviewImage::Crop crop = m_isPdf ? PreviewImage::Crop::top : PreviewImage::Crop::centre;
    QPixmap preview = PreviewImage::cached(m_paths, size, crop);
    if (preview.isNull() && !m_paths.isEmpty()) {
        const CardPreview& read = m_preview.image(m_paths, size, crop);
        if (!read.isReady) {
            return; // the grey body, until the picture is read
        }
        preview = read.pixmap;
    }
    if (!preview.isNull()) {
        preview.setDevicePixelRatio(ratio);
        painter.drawPixmap(body.topLeft(), preview);
        return;
    }
    paintPlaceholder(painter, body);
}

void ImageBody::paintPlaceholder(QPainter& painter, const QRectF& body) const
{
    const QFont font = SystemFont::regular(m_isPdf ? 11 : 10);
    const QFontMetricsF metrics(font);
    const double symbol = m_isPdf ? 30 : 24;
    const double spacing = m_isPdf ? 8 : 6;
    const double total = symbol + spacing + metrics.height();
    const double top = body.center().y() - total / 2;
    Symbols::draw(painter, m_isPdf ? QStringLiteral("doc.richtext.fill") : QStringLiteral("photo"),
                  QRectF(body.center().x() - symbol / 2, top, symbol, symbol),
                  m_isPdf ? QColor(255, 59, 48, 217) : CardPaint::secondary());
    painter.setFont(font);
    painter.setPen(CardPaint::secondary());
    painter.drawText(QRectF(body.left(), top + symbol + spacing, body.width(), metrics.height()), Qt::AlignCenter,
                     m_isPdf ? QStringLiteral("PDF") : QStringLiteral("Preview unavailable"));
}
