#include "capture/CaptureFileTracker.h"

#include <QFile>

QString CaptureFileTracker::saveImage(const QByteArray& data, const QString& ext)
{
    const QString path = m_target.saveImage(data, ext);
    m_written.append(path);
    return path;
}

QString CaptureFileTracker::saveAsset(const QByteArray& data, const QString& ext)
{
    const QString path = m_target.saveAsset(data, ext);
    m_written.append(path);
    return path;
}

void CaptureFileTracker::removeAll()
{
    for (const QString& path : std::as_const(m_written)) {
        QFile::remove(path);
    }
    m_written.clear();
}

void CaptureFileTracker::removeAllBut(const ClipboardItem& item)
{
    for (const QString& path : std::as_const(m_written)) {
        if (path != item.imagePath && path != item.thumbnailPath && path != item.assetPath) {
            QFile::remove(path);
        }
    }
    m_written.clear();
}
