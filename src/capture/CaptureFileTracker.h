// Remembers the files one change stores, so that a change which ends up recording nothing leaves
// none of them behind.
#pragma once

#include "capture/PasteboardClassifier.h"

#include <QStringList>

class CaptureFileTracker final : public CaptureFiles
{
public:
    explicit CaptureFileTracker(CaptureFiles& target) : m_target(target) {}

    QString saveImage(const QByteArray& data, const QString& ext) override;
    QString saveAsset(const QByteArray& data, const QString& ext) override;

    // A store that could not write a file (a full disk) still returns its path, with no file there.
    bool hasFailedWrite() const { return m_failedWrite; }
    // Deletes every file stored through this tracker.
    void removeAll();
    // Deletes the stored files the item does not name.
    void removeAllBut(const ClipboardItem& item);

private:
    QString track(const QString& path);

    CaptureFiles& m_target;
    QStringList m_written;
    bool m_failedWrite = false;
};
