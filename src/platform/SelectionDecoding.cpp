#include "platform/SelectionDecoding.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstdint>
#include <cstring>

namespace {
// The most a converted image may take once decoded, as the capture's own decoding allows.
constexpr int maxDecodedMB = 512;
} // namespace

std::optional<QColor> SelectionDecoding::colorFromXColor(const QByteArray& bytes)
{
    std::uint16_t channels[4];
    if (bytes.size() < qsizetype(sizeof(channels))) {
        return std::nullopt;
    }
    std::memcpy(channels, bytes.constData(), sizeof(channels));
    return QColor::fromRgba64(channels[0], channels[1], channels[2], channels[3]);
}

std::optional<QByteArray> SelectionDecoding::rasterImageAsPng(const QByteArray& bytes, const QByteArray& format)
{
    if (format.isEmpty()) {
        return std::nullopt;
    }
    QBuffer source;
    source.setData(bytes);
    // Decoded as the format the target names and nothing else: content sniffing would let an SVG
    // offered as a bitmap be drawn, with the user's files it names.
    QImageReader reader(&source, format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(maxDecodedMB);
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    QByteArray png;
    QBuffer sink(&png);
    sink.open(QIODevice::WriteOnly);
    if (!image.save(&sink, "PNG")) {
        return std::nullopt;
    }
    return png;
}
