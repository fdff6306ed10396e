// Thumbnails: smooth scaling into 32-bit ARGB, encoded as PNG.
#include "capture/Thumbnail.h"

#include "capture/ImageDecoding.h"

#include <algorithm>
#include <cmath>

namespace {
// Qt's conversions index the palette unchecked: a palette image with a short or missing palette (which
// no decoder should make, but nothing forbids) gets one padded with black.
QImage withFullPalette(const QImage& image)
{
    const int needed = image.format() == QImage::Format_Indexed8                                           ? 256
                       : image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB ? 2
                                                                                                           : 0;
    if (image.colorCount() >= needed) {
        return image;
    }
    QList<QRgb> palette = image.colorTable();
    palette.resize(needed, qRgb(0, 0, 0));
    QImage padded = image;
    padded.setColorTable(palette);
    return padded;
}
} // namespace

std::optional<QByteArray> makeThumbnail(const QImage& image, int maxDim)
{
    const qint64 w = image.width();
    const qint64 h = image.height();
    if (w < 1 || h < 1 || maxDim < 1) {
        return std::nullopt;
    }
    const double scale = std::min(double(maxDim) / double(std::max(w, h)), 1.0);
    const auto tw = static_cast<int>(std::round(scale * double(w)));
    const auto th = static_cast<int>(std::round(scale * double(h)));
    if (tw < 1 || th < 1) {
        return std::nullopt;
    }
    const QImage scaled = withFullPalette(image)
                              .scaled(tw, th, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    if (scaled.isNull()) {
        return std::nullopt;
    }
    return ImageDecoding::encodePNG(scaled);
}

std::optional<QByteArray> makeThumbnail(const QByteArray& imageBytes, int maxDim)
{
    const auto image = ImageDecoding::decode(imageBytes, "png");
    if (!image) {
        return std::nullopt;
    }
    return makeThumbnail(*image, maxDim);
}
