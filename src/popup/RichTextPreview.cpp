// Reads the rich-text asset of a card; every failure falls back to the plain text.
#include "popup/RichTextPreview.h"

#include <QFile>
#include <QVariant>

namespace {
constexpr qint64 maxAssetBytes = 16LL * 1024 * 1024;

// A text document that refuses every resource its HTML names.
class IsolatedTextDocument final : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

std::optional<QByteArray> readAsset(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxAssetBytes) {
        return std::nullopt;
    }
    return file.readAll();
}
} // namespace

std::unique_ptr<QTextDocument> RichTextPreview::documentFromHtml(const QString& html)
{
    auto document = std::make_unique<IsolatedTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setHtml(html);
    return document;
}

std::optional<QString> RichTextPreview::htmlFromRtf(const QByteArray&)
{
    return std::nullopt;
}

std::optional<QString> RichTextPreview::htmlFromRtfd(const QByteArray&)
{
    return std::nullopt;
}

std::unique_ptr<QTextDocument> RichTextPreview::load(const ClipboardItem& item)
{
    if (!item.assetPath) {
        return nullptr;
    }
    const std::optional<QByteArray> bytes = readAsset(*item.assetPath);
    if (!bytes) {
        return nullptr;
    }
    std::optional<QString> html;
    if (item.assetPath->endsWith(QLatin1String(".rtfd"))) {
        html = htmlFromRtfd(*bytes);
    } else if (item.assetPath->endsWith(QLatin1String(".html"))) {
        html = QString::fromUtf8(*bytes);
    } else {
        html = htmlFromRtf(*bytes);
    }
    if (!html) {
        return nullptr;
    }
    return documentFromHtml(*html);
}
