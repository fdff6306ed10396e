// Reduced copies of images for the cards, never larger than the original.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

inline constexpr int thumbnailMaxDim = 600;

// PNG bytes of `image` scaled so its larger side is at most `maxDim` pixels, or nothing.
std::optional<QByteArray> makeThumbnail(const QImage& image, int maxDim = thumbnailMaxDim);
// The same for PNG bytes.
std::optional<QByteArray> makeThumbnail(const QByteArray& imageBytes, int maxDim = thumbnailMaxDim);
