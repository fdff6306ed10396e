#include "platform/xdg/WindowIconCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
QString pathFor(const QString& bundleID)
{
    if (bundleID.isEmpty()) {
        return {};
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty()) {
        return {};
    }
    // Ids come from windows (WM_CLASS): hashed, none of them can name a path of its own.
    const QByteArray digest = QCryptographicHash::hash(bundleID.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return folder + QStringLiteral("/Stashwell/icons/") + QString::fromLatin1(digest) + QStringLiteral(".png");
}
} // namespace

void WindowIconCache::save(const QString& bundleID, const QImage& image)
{
    const QString path = pathFor(bundleID);
    if (path.isEmpty() || image.isNull() || !QDir().mkpath(QFileInfo(path).path())) {
        return;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG")) {
        file.commit();
    }
}

QIcon WindowIconCache::load(const QString& bundleID)
{
    const QString path = pathFor(bundleID);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return {};
    }
    const QImage image(path, "PNG");
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

bool WindowIconCache::contains(const QString& bundleID)
{
    const QString path = pathFor(bundleID);
    return !path.isEmpty() && QFileInfo::exists(path);
}
