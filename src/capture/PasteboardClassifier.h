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
// A text or link longer than maxTextLength yields nothing; a document (PDF, rich text, HTML) whose
// text is longer keeps its kind and its whole file, with its text cut to maxTextLength. Either way
// `logLine` (when given) receives a line for the system log that says so. Runs on the capture
// worker's thread.
std::optional<ClipboardItem> readItem(PasteboardReader& reader, const CaptureSource& source, CaptureFiles& files,
                                      QString* logLine = nullptr);
} // namespace PasteboardClassifier
