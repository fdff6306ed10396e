// Decoding is bounded twice, by the size of the file read and by the size of the decoded image, so
// a hostile file can exhaust neither time nor memory.
#include "popup/PreviewImage.h"

#include "popup/PreviewFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmapCache>

namespace {
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
    const std::optional<QByteArray> bytes = PreviewFile::readWhole(path, PreviewImage::maxFileBytes);
    if (!bytes) {
        return {};
    }
    // The format the name gives first; a file whose name lies about its format still decodes from
    // its bytes.
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    QList<QByteArray> formats{QByteArray()};
    if (!suffix.isEmpty()) {
        formats.prepend(suffix);
    }
    for (const QByteArray& format : formats) {
        QBuffer buffer;
        buffer.setData(*bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        reader.setAllocationLimit(PreviewImage::maxDecodedMegabytes);
        QImage image = decode(reader, size);
        if (!image.isNull()) {
            return image;
        }
    }
    return {};
}
} // namespace

PreviewImage::Decoded PreviewImage::readFilling(const QStringList& paths, const QSize& size, Crop crop)
{
    if (size.isEmpty()) {
        return {};
    }
    for (const QString& path : paths) {
        if (path.isEmpty()) {
            continue;
        }
        const QImage image = readImage(path, size);
        if (!image.isNull()) {
            return {path, cropToFill(image, size, crop)};
        }
    }
    return {};
}

QPixmap PreviewImage::cached(const QStringList& paths, const QSize& size, Crop crop)
{
    QPixmap pixmap;
    for (const QString& path : paths) {
        if (!path.isEmpty() && QPixmapCache::find(cacheKey(path, size, crop), &pixmap)) {
            return pixmap;
        }
    }
    return {};
}

QPixmap PreviewImage::insert(const Decoded& decoded, const QSize& size, Crop crop)
{
    if (decoded.image.isNull()) {
        return {};
    }
    const QPixmap pixmap = QPixmap::fromImage(decoded.image);
    QPixmapCache::insert(cacheKey(decoded.path, size, crop), pixmap);
    return pixmap;
}

void PreviewImage::reserveCache(int kilobytes)
{
    if (QPixmapCache::cacheLimit() < kilobytes) {
        QPixmapCache::setCacheLimit(kilobytes);
    }
}
