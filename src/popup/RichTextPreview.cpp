// Reads the rich-text asset of a card; every failure falls back to the plain text.
#include "popup/RichTextPreview.h"

#include "capture/RtfReader.h"
#include "capture/RtfdReader.h"

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

std::unique_ptr<QTextDocument> RichTextPreview::load(const ClipboardItem& item)
{
    if (!item.assetPath) {
        return nullptr;
    }
    const std::optional<QByteArray> bytes = readAsset(*item.assetPath);
    if (!bytes) {
        return nullptr;
    }
    if (item.assetPath->endsWith(QLatin1String(".rtfd"))) {
        return RtfdReader::toDocument(*bytes);
    }
    if (item.assetPath->endsWith(QLatin1String(".html"))) {
        return documentFromHtml(QString::fromUtf8(*bytes));
    }
    return RtfReader::toDocument(*bytes);
}
