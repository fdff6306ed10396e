// Preview images for the cards, read from disk and kept only in Qt's global pixmap cache.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace PreviewImage {
// Which part of an image that overflows its frame stays: the middle, or the top (the first page
// of a document shows its heading).
enum class Crop { centre, top };

// The first of `paths` that decodes (from the file, else from its bytes), scaled to fill `size`
// device pixels with its aspect kept and the overflow cropped. A null pixmap when none decodes.
// Found pixmaps go into QPixmapCache under the path and size, so a card reads the disk only when
// the cache has nothing.
QPixmap loadFilling(const QStringList& paths, const QSize& size, Crop crop = Crop::centre);
// Raises QPixmapCache's bound to at least `kilobytes` (a strip of cards holds a few dozen previews).
void reserveCache(int kilobytes);
} // namespace PreviewImage
