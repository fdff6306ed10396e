#include "platform/x11/NetWmIcon.h"

#include <cstdint>
#include <cstring>

namespace {
// Larger claims are taken for what they are: garbage or an attempt to make us allocate.
constexpr std::uint32_t maxSide = 1024;
} // namespace

QImage NetWmIcon::bestImage(const QByteArray& property, int preferredSize)
{
    const qsizetype count = property.size() / 4;
    const auto valueAt = [&](qsizetype index) {
        std::uint32_t value = 0;
        std::memcpy(&value, property.constData() + index * 4, sizeof(value));
        return value;
    };
    qsizetype bestOffset = -1;
    std::uint32_t bestWidth = 0;
    std::uint32_t bestHeight = 0;
    const auto better = [&](std::uint32_t width, std::uint32_t height) {
        const auto wanted = static_cast<std::uint32_t>(preferredSize);
        const bool fits = width >= wanted && height >= wanted;
        const bool bestFits = bestWidth >= wanted && bestHeight >= wanted;
        if (bestOffset < 0 || fits != bestFits) {
            return bestOffset < 0 || fits;
        }
        return fits ? width * height < bestWidth * bestHeight : width * height > bestWidth * bestHeight;
    };
    for (qsizetype index = 0; index + 2 <= count;) {
        const std::uint32_t width = valueAt(index);
        const std::uint32_t height = valueAt(index + 1);
        if (width == 0 || height == 0 || width > maxSide || height > maxSide ||
            static_cast<qsizetype>(width) * height > count - index - 2) {
            break;
        }
        if (better(width, height)) {
            bestOffset = index + 2;
            bestWidth = width;
            bestHeight = height;
        }
        index += 2 + static_cast<qsizetype>(width) * height;
    }
    if (bestOffset < 0) {
        return {};
    }
    QImage image(static_cast<int>(bestWidth), static_cast<int>(bestHeight), QImage::Format_ARGB32);
    for (std::uint32_t y = 0; y < bestHeight; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(static_cast<int>(y)));
        for (std::uint32_t x = 0; x < bestWidth; ++x) {
            line[x] = valueAt(bestOffset + static_cast<qsizetype>(y) * bestWidth + x);
        }
    }
    return image;
}
