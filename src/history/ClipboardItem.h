// One history entry: a plain value with the sixteen fields of the history file.
#pragma once

#include "history/ClipboardKind.h"

#include <QDateTime>
#include <QStringList>
#include <QUuid>
#include <cstdint>
#include <optional>

struct ClipboardItem
{
    QUuid id = QUuid::createUuid();
    ClipboardKind kind = ClipboardKind::text;
    QDateTime createdAt = QDateTime::currentDateTimeUtc();
    std::optional<QString> sourceBundleID;
    std::optional<QString> sourceAppName;
    std::optional<QString> text;
    std::optional<QString> imagePath;
    std::optional<std::int64_t> imageWidth;  // pixels; page width in points for a pdf
    std::optional<std::int64_t> imageHeight; // pixels; page height in points for a pdf
    std::optional<QString> thumbnailPath;
    std::optional<QString> assetPath;
    std::optional<QString> colorHex;
    std::optional<QStringList> filePaths;
    std::optional<std::int64_t> characterCount; // extended grapheme clusters of `text`
    std::optional<QString> contentHash;         // sha256Prefix of the content bytes
    bool isPinned = false;

    bool isScreenshot() const;
    QString displayTitle() const;
    // The key by which the store recognises the same content copied again.
    QString dedupeKey() const;

    bool operator==(const ClipboardItem& other) const = default;
};

// Application ids whose images are titled "Screenshot".
bool isScreenshotToolID(const QString& bundleID);

// The first 12 bytes of the SHA-256 digest, as 24 lower-case hexadecimal digits.
QString sha256Prefix(const QByteArray& bytes);
