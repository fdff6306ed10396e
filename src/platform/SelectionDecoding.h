// Turning the bytes a clipboard owner sends for the object flavours (file lists, colours, images
// that are not PNG) into what the core reads, the same on X11 and Wayland.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QUrl>
#include <optional>

namespace SelectionDecoding {
// text/uri-list lines (comments and blank lines skipped); x-special/gnome-copied-files begins with
// the operation ("copy" or "cut"), which `leadingOperation` skips.
QList<QUrl> urlsFromList(const QByteArray& bytes, bool leadingOperation);

// application/x-color: four 16-bit channels (red, green, blue, alpha) in this machine's byte order.
std::optional<QColor> colorFromXColor(const QByteArray& bytes);

// The image re-encoded as PNG, or nothing when it cannot be decoded.
std::optional<QByteArray> imageAsPng(const QByteArray& bytes);
} // namespace SelectionDecoding
