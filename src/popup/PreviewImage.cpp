// Decoding is bounded by Qt's image allocation limit, so a hostile image cannot exhaust memory.
#include "popup/PreviewImage.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmapCache>

namespace {
constexpr qint64 maxPreviewFileBytes = 256LL * 1024 * 1024;

QString cacheKey(const QString& path, const QSize& size, PreviewImage::Crop crop)
{
    return QStringLiteral("stashwell.preview:%1x%2%3:")
               .arg(size.width())
               .arg(size.height())
               .arg(crop == PreviewImage::Crop::top ? QStringLiteral("t") : QString()) +
           path;
}

// Decodes at a reduced size where the format allows it (JPEG does), at full size otherwise.
QImage decode(QImageReader& reader, const QSize& size)
{
    const QSize full = reader.size();
    if (full.isValid() && full.width() > size.width() * 2 && full.height() > size.height() * 2) {
        reader.setScaledSize(full.scaled(size, Qt::KeepAspectRatioByExpanding));
    }
    return reader.read();
}

QImage cropToFill(const QImage& image, const QSize& size, PreviewImage::Crop crop)
{
    const QImage scaled = image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const int x = (scaled.width() - size.width()) / 2;
    const int y = crop == PreviewImage::Crop::top ? 0 : (scaled.height() - size.height()) / 2;
    return scaled.copy(x, y, size.width(), size.height());
}

QImage readImage(const QString& path, const QSize& size)
{
    QImageReader fromFile(path);
    QImage image = decode(fromFile, size);
    if (!image.isNull()) {
        return image;
    }
    // A file whose name lies about its format still decodes from its bytes.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxPreviewFileBytes) {
        return {};
    }
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader fromBytes(&buffer);
    return decode(fromBytes, size);
}
} // namespace

QPixmap PreviewImage::loadFilling(const QStringList& paths, const QSize& size, Crop crop)
{
    if (size.isEmpty()) {
        return {};
    }
    for (const QString& path : paths) {
        if (path.isEmpty()) {
            continue;
        }
        const QString key = cacheKey(path, size, crop);
        QPixmap pixmap;
        if (QPixmapCache::find(key, &pixmap)) {
            return pixmap;
        }
        const QImage image = readImage(path, size);
        if (image.isNull()) {
            continue;
        }
        pixmap = QPixmap::fromImage(cropToFill(image, size, crop));
        QPixmapCache::insert(key, pixmap);
        return pixmap;
    }
    return {};
}

void PreviewImage::reserveCache(int kilobytes)
{
    if (QPixmapCache::cacheLimit() < kilobytes) {
        QPixmapCache::setCacheLimit(kilobytes);
    }
}
