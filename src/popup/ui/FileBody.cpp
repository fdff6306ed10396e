// The icon takes its place once the workers have read the file's type; the name is there at once.
#include "popup/ui/FileBody.h"

#include "platform/SystemFont.h"
#include "popup/CardContent.h"
#include "popup/CardGeometry.h"
#include "popup/WrappedText.h"
#include "popup/ui/CardPaint.h"
#include "popup/ui/PopupStyle.h"

#include <QFontMetricsF>
#include <QIcon>
#include <QPainter>

FileBody::FileBody(const ClipboardItem& item)
    : m_path(item.filePaths && !item.filePaths->isEmpty() ? std::optional(item.filePaths->first()) : std::nullopt),
      m_name(CardContent::firstFileName(item)), m_more(CardContent::moreFilesText(item))
{}

void FileBody::paint(QPainter& painter, const QRectF& body)
{
    if (!m_path) {
        return;
    }
    const QRectF area = CardGeometry::fileArea(body);
    const QFont nameFont = SystemFont::regular(12, QFont::Medium);
    const QFont moreFont = SystemFont::regular(10);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF moreMetrics(moreFont);

    // The name wraps onto at most two lines.
    const QStringList nameLines = WrappedText::lines(m_name, nameFont, area.width(), 2);
    const double nameHeight = nameMetrics.lineSpacing() * static_cast<double>(nameLines.size());
    double total = 56 + 8 + nameHeight;
    if (!m_more.isEmpty()) {
        total += 8 + moreMetrics.height();
    }
    double y = area.center().y() - total / 2;

    const QRectF iconRect(area.center().x() - 28, y, 56, 56);
    m_preview.file(*m_path, QSize());
    if (const QIcon* icon = m_preview.fileIcon()) {
        if (!icon->isNull()) {
            painter.drawPixmap(iconRect.toRect(), icon->pixmap(QSize(56, 56), CardPaint::ratioOf(painter)));
        } else {
            QIcon(QStringLiteral(":/resources/icons/doc.svg")).paint(&painter, iconRect.toRect());
        }
    }
    y += 56 + 8;
    painter.setFont(nameFont);
    painter.setPen(PopupStyle::black(0.85));
    for (const QString& line : nameLines) {
        painter.drawText(QRectF(area.left(), y, area.width(), nameMetrics.lineSpacing()), Qt::AlignHCenter, line);
        y += nameMetrics.lineSpacing();
    }
    if (!m_more.isEmpty()) {
        y += 8;
        painter.setFont(moreFont);
        painter.setPen(CardPaint::secondary());
        painter.drawText(QRectF(area.left(), y, area.width(), moreMetrics.height()), Qt::AlignHCenter, m_more);
    }
}
