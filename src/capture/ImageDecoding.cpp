// Bounded image decoding and PNG encoding through Qt's image readers and writers.
#include "capture/ImageDecoding.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace ImageDecoding {
std::optional<QImage> decode(const QByteArray& bytes, const QByteArray& format)
{
    const QByteArray name = format.toLower();
    if (bytes.isEmpty() || name.isEmpty() || name.startsWith("svg")) {
        return std::nullopt;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QImageReader reader(&buffer, name);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(allocationLimitMB);
    // The header alone tells the size; refuse before any pixel memory is taken.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels) {
        return std::nullopt;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    return image;
}

std::optional<QByteArray> encodePNG(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        return std::nullopt;
    }
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        return std::nullopt;
    }
    return bytes;
}
} // namespace ImageDecoding
