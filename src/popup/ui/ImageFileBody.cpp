// Nothing is read on the painting thread: until the workers are done the body stays light grey.
#include "popup/ui/ImageFileBody.h"

#include "platform/SystemFont.h"
#include "popup/CardContent.h"
#include "popup/PreviewImage.h"
#include "popup/ui/CardPaint.h"
#include "popup/ui/Symbols.h"

#include <QPainter>

ImageFileBody::ImageFileBody(const ClipboardItem& item)
    : m_path(item.filePaths->first()), m_more(CardContent::moreFilesText(item))
{}

void ImageFileBody::paint(QPainter& painter, const QRectF& body)
{
    painter.fillRect(body, CardPaint::lightGrey());
    const qreal ratio = CardPaint::ratioOf(painter);
    const QSize size = (body.size() * ratio).toSize();
    QPixmap preview = PreviewImage::cached({m_path}, size);
    if (preview.isNull()) {
        preview = m_preview.file(m_path, size).pixmap;
    }
    if (!preview.isNull()) {
        preview.setDevicePixelRatio(ratio);
        painter.drawPixmap(body.topLeft(), preview);
    } else if (const QIcon* icon = m_preview.fileIcon()) {
        const QRectF iconRect(body.center().x() - 28, body.center().y() - 28, 56, 56);
        if (!icon->isNull()) {
            painter.drawPixmap(iconRect.toRect(), icon->pixmap(QSize(56, 56), ratio));
        } else {
            Symbols::draw(painter, QStringLiteral("photo"), iconRect.adjusted(8, 8, -8, -8), CardPaint::secondary());
        }
    }
    if (!m_more.isEmpty()) {
        const QFont font = SystemFont::regular(10, QFont::DemiBold);
        QRectF capsule = CardPaint::capsuleFor(m_more, font, 3, 7);
        capsule.moveTopLeft(body.topLeft() + QPointF(8, 8));
        CardPaint::drawCapsuleLabel(painter, capsule, m_more, font);
    }
}
