// PDF reading through QtPdf, entirely in memory.
#include "capture/PdfPreview.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfDocument>
#include <algorithm>
#include <cmath>

namespace {
std::int64_t truncatedPoints(qreal value)
{
    // Truncation of a value out of range would be undefined; such a page is as good as unreadable.
    if (!std::isfinite(value) || std::fabs(value) > 1e15) {
        return 0;
    }
    return static_cast<std::int64_t>(value);
}

std::optional<QImage> render(QPdfDocument& document, const QSizeF& points)
{
    if (!(points.width() > 0) || !(points.height() > 0) || !std::isfinite(points.width()) ||
        !std::isfinite(points.height())) {
        return std::nullopt;
    }
    const qreal scale = pdfPreviewSize / std::max(points.width(), points.height());
    const QSize size(std::clamp(static_cast<int>(std::round(points.width() * scale)), 1, pdfPreviewSize),
                     std::clamp(static_cast<int>(std::round(points.height() * scale)), 1, pdfPreviewSize));
    const QImage page = document.render(0, size);
    if (page.isNull()) {
        return std::nullopt;
    }
    // Pages without a painted background come out transparent; paper is white.
    QImage paper(size, QImage::Format_ARGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, page);
    painter.end();
    return paper;
}
} // namespace

PdfPreview previewPdf(const QByteArray& bytes)
{
    PdfPreview preview;
    if (bytes.isEmpty()) {
        return preview;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return preview;
    }
    QPdfDocument document;
    // A buffer holds all of its data at once, so loading finishes before load() returns.
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1) {
        return preview;
    }
    const QSizeF points = document.pagePointSize(0);
    preview.width = truncatedPoints(points.width());
    preview.height = truncatedPoints(points.height());
    preview.firstPage = render(document, points);
    return preview;
}
