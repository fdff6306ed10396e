// Where the capture tests let the classifier store pictures and documents: one folder, a new name for
// every file, as the history store does, and a disk that can be made to fill up.
#pragma once

#include "capture/PasteboardClassifier.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QUuid>

class FolderFiles final : public CaptureFiles
{
public:
    explicit FolderFiles(const QString& folder) : m_folder(folder) { QDir().mkpath(folder); }
    QString saveImage(const QByteArray& data, const QString& ext) override { return save(data, ext); }
    QString saveAsset(const QByteArray& data, const QString& ext) override { return save(data, ext); }
    QStringList names() const { return QDir(m_folder).entryList(QDir::Files); }
    // How many more writes succeed before the disk is full (-1: no end). A failed write still
    // returns its path, as the store's does.
    int writesLeft = -1;

private:
    QString save(const QByteArray& data, const QString& ext)
    {
        const QString path =
            m_folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('.') + ext;
        if (writesLeft != 0) {
            writeFileBytes(path, data);
            writesLeft -= writesLeft > 0 ? 1 : 0;
        }
        return path;
    }
    QString m_folder;
};
