#include "capture/CaptureFileTracker.h"

#include <QFile>
#include <QFileInfo>

QString CaptureFileTracker::saveImage(const QByteArray& data, const QString& ext)
{
    return track(m_target.saveImage(data, ext));
}

QString CaptureFileTracker::saveAsset(const QByteArray& data, const QString& ext)
{
    return track(m_target.saveAsset(data, ext));
}

QString CaptureFileTracker::track(const QString& path)
{
    m_written.append(path);
    if (!QFileInfo::exists(path)) {
        m_failedWrite = true;
    }
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
