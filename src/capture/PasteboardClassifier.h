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
// The longest text an entry may hold. The history file holds every text whole and is rewritten at
// every change: one text of 50 MB makes each save take seconds and every search crawl.
inline constexpr qsizetype maxTextLength = qsizetype(1) << 20;

// Files, colour, PDF, image, RTFD, RTF, HTML, then link or text; the first that applies wins.
// Content whose text is longer than maxTextLength yields nothing, unless it is a picture; then
// `tooLongText` (when given) receives that text's length. Runs on the capture worker's thread.
std::optional<ClipboardItem> readItem(PasteboardReader& reader, const CaptureSource& source, CaptureFiles& files,
                                      qsizetype* tooLongText = nullptr);
} // namespace PasteboardClassifier
