// Turning the bytes a clipboard owner sends for the object flavours (file lists, colours, images
// that are not PNG) into what the core reads, the same on X11 and Wayland.
#pragma once

#include <QByteArray>
#include <QColor>
#include <optional>

namespace SelectionDecoding {

// application/x-color: four 16-bit channels (red, green, blue, alpha) in this machine's byte order.
std::optional<QColor> colorFromXColor(const QByteArray& bytes);

// The image re-encoded as PNG, decoded as `format` (Qt's name of a raster format, see
// MimeTypeTable::rasterFormatOf) and nothing else; nothing when it cannot be decoded so.
std::optional<QByteArray> rasterImageAsPng(const QByteArray& bytes, const QByteArray& format);
} // namespace SelectionDecoding
