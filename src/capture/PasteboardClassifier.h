// Turns one clipboard content into at most one history entry: the kinds tried in order of priority.
#pragma once

#include "history/ClipboardItem.h"

#include <QByteArray>
#include <QString>
#include <optional>

class PasteboardReader;

// The application the copy is attributed to.
struct CaptureSource
{
    std::optional<QString> bundleID;
    std::optional<QString> appName;
};

// Where classification stores image and document bytes (the store's images and assets folders).
class CaptureFiles
{
public:
    virtual ~CaptureFiles() = default;
    virtual QString saveImage(const QByteArray& data, const QString& ext) = 0;
    virtual QString saveAsset(const QByteArray& data, const QString& ext) = 0;
};

namespace PasteboardClassifier {
// Files, colour, PDF, image, RTFD, RTF, HTML, then link or text; the first that applies wins.
// Runs on the capture worker's thread.
std::optional<ClipboardItem> readItem(PasteboardReader& reader, const CaptureSource& source, CaptureFiles& files);
} // namespace PasteboardClassifier
