// Decoding clipboard image bytes with limits, so a hostile header cannot make us allocate gigabytes.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace ImageDecoding {
// Larger images are refused: a 40 MB screenshot of several monitors fits, a forged header does not.
inline constexpr qint64 maxPixels = 100'000'000;
inline constexpr int allocationLimitMB = 512;

// The image in `bytes` read as `format` ("png", "tiff") and as nothing else: the bytes are never
// sniffed for another format, and vector formats (which may name files to draw) are refused.
// Nothing when the bytes do not decode or the image is over the limits.
std::optional<QImage> decode(const QByteArray& bytes, const QByteArray& format);
// PNG bytes of `image`, or nothing when encoding fails.
std::optional<QByteArray> encodePNG(const QImage& image);
} // namespace ImageDecoding
