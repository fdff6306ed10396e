// Preview images for the cards: decoded from bounded reads of their files, kept only in Qt's
// global pixmap cache.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace PreviewImage {
// Which part of an image that overflows its frame stays: the middle, or the top (the first page
// of a document shows its heading).
enum class Crop { centre, top };

// Files larger than this are not decoded for a preview (the card shows its placeholder or icon).
inline constexpr qint64 maxFileBytes = 64LL * 1024 * 1024;
// Nor are images whose decoded pixels would take more than this (formats that decode at a reduced
// size, as JPEG does, are measured at that size).
inline constexpr int maxDecodedMegabytes = 128;

struct Decoded
{
    QString path; // the file it came from
    QImage image; // scaled to fill the size and cropped; null when no file decoded
};

// The first of `paths` that decodes (by the format its name gives, else by its bytes), scaled to
// fill `size` device pixels with its aspect kept and the overflow cropped. Reads the files through
// PreviewFile and touches no pixmap, so it runs on any thread.
Decoded readFilling(const QStringList& paths, const QSize& size, Crop crop = Crop::centre);

// QPixmapCache, on the main thread: the pixmap a card drew of the first of `paths` at this size
// and crop, kept under the path and size, so a card reads the disk only when the cache has nothing.
QPixmap cached(const QStringList& paths, const QSize& size, Crop crop = Crop::centre);
QPixmap insert(const Decoded& decoded, const QSize& size, Crop crop = Crop::centre);
// Raises QPixmapCache's bound to at least `kilobytes` (a strip of cards holds a few dozen previews).
void reserveCache(int kilobytes);
} // namespace PreviewImage
