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

    // Deletes every file stored through this tracker.
    void removeAll();
    // Deletes the stored files the item does not name.
    void removeAllBut(const ClipboardItem& item);

private:
    CaptureFiles& m_target;
    QStringList m_written;
};
