#include "history/ClipboardItem.h"

#include <QCryptographicHash>

bool isScreenshotToolID(const QString& bundleID)
{
    // The macOS screenshot tool's id is kept so histories written there read the same here.
    static const QStringList tools{
        QStringLiteral("com.apple.screencaptureui"),
        QStringLiteral("org.gnome.Screenshot"),
        QStringLiteral("org.kde.spectacle"),
        QStringLiteral("org.flameshot.Flameshot"),
        QStringLiteral("flameshot"),
    };
    return tools.contains(bundleID);
}

bool ClipboardItem::isScreenshot() const
{
    return kind == ClipboardKind::image && sourceBundleID && isScreenshotToolID(*sourceBundleID);
}

QString ClipboardItem::displayTitle() const
{
    if (isScreenshot()) {
        return QStringLiteral("Screenshot");
    }
    switch (kind) {
    case ClipboardKind::text:
        return QStringLiteral("Text");
    case ClipboardKind::richText:
        return QStringLiteral("Rich Text");
    case ClipboardKind::html:
        return QStringLiteral("HTML");
    case ClipboardKind::link:
        return QStringLiteral("Link");
    case ClipboardKind::image:
        return QStringLiteral("Image");
    case ClipboardKind::pdf:
        return QStringLiteral("PDF");
    case ClipboardKind::color:
        return QStringLiteral("Color");
    case ClipboardKind::file:
        return filePaths && filePaths->size() >= 2 ? QStringLiteral("Files") : QStringLiteral("File");
    }
    return {};
}

QString ClipboardItem::dedupeKey() const
{
    const QString prefix = rawValue(kind) + QLatin1Char('|');
    switch (kind) {
    case ClipboardKind::text:
    case ClipboardKind::richText:
    case ClipboardKind::html:
    case ClipboardKind::link:
        return prefix + text.value_or(QString());
    case ClipboardKind::image:
    case ClipboardKind::pdf:
        return prefix + (contentHash ? *contentHash : imagePath.value_or(QString()));
    case ClipboardKind::color:
        return prefix + colorHex.value_or(QString());
    case ClipboardKind::file:
        return prefix + filePaths.value_or(QStringList()).join(QStringLiteral("::"));
    }
    return prefix;
}

QString sha256Prefix(const QByteArray& bytes)
{
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.left(12).toHex());
}
