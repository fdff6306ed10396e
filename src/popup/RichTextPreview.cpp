// Reads the rich-text asset of a card; every failure falls back to the plain text.
#include "popup/RichTextPreview.h"

#include "capture/RtfReader.h"
#include "capture/RtfdReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QVariant>
#include <algorithm>
#include <cmath>

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
// Whether anything but white space follows a position of a block, in it or in a later block.
bool hasTextFrom(QTextBlock block, int position)
{
    for (; block.isValid(); block = block.next(), position = 0) {
        const QString text = block.text();
        for (qsizetype i = position; i < text.size(); ++i) {
            if (!text.at(i).isSpace()) {
                return true;
            }
        }
    }
    return false;
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

double RichTextPreview::pointScale()
{
    // The resolution QTextDocument lays out at when it has no paint device of its own.
    double dpi = 100;
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) {
        dpi = 96;
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dpi = std::round(screen->logicalDotsPerInchY());
    }
    return dpi > 0 ? 72.0 / dpi : 1.0;
}

RichTextPreview::TailCut RichTextPreview::cutAtWholeLines(const QTextDocument& document, const QSizeF& area)
{
    TailCut cut;
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    QTextBlock lastBlock;
    QTextLine lastLine;
    bool overflowed = false;
    for (QTextBlock block = document.begin(); block.isValid() && !overflowed; block = block.next()) {
        const QTextLayout* text = block.layout();
        if (!block.isVisible() || !text) {
            continue;
        }
        const double top = layout->blockBoundingRect(block).top();
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            if (top + line.y() + line.height() > area.height() + 0.01) {
                // Only text left out counts; empty paragraphs at the end do not.
                overflowed = true;
                cut.truncated = hasTextFrom(block, line.textStart());
                break;
            }
            lastBlock = block;
            lastLine = line;
        }
    }
    if (!cut.truncated || !lastLine.isValid()) {
        return cut;
    }
    cut.hasLastLine = true;
    cut.lineTop = layout->blockBoundingRect(lastBlock).top() + lastLine.y();
    cut.lineHeight = lastLine.height();
    cut.ascent = lastLine.ascent();

    // The ellipsis takes the look of the last character shown.
    const QString blockText = lastBlock.text();
    int end = lastLine.textStart() + lastLine.textLength();
    while (end > lastLine.textStart() && end <= blockText.size() && blockText.at(end - 1).isSpace()) {
        --end;
    }
    QTextCharFormat format = lastBlock.charFormat();
    const int lastChar = lastBlock.position() + std::max(lastLine.textStart(), end - 1);
    for (auto it = lastBlock.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(lastChar)) {
            format = it.fragment().charFormat();
            break;
        }
    }
    cut.font = format.font().resolve(document.defaultFont());
    cut.color = format.foreground().style() == Qt::NoBrush ? QColor(Qt::black) : format.foreground().color();

    const double ellipsis = QFontMetricsF(cut.font).horizontalAdvance(QChar(0x2026));
    const double limit = area.width() - ellipsis;
    if (lastLine.cursorToX(end) > limit) {
        // Characters give way to the ellipsis; whole characters only, and no space before it.
        end = std::min(end, lastLine.xToCursor(limit, QTextLine::CursorBetweenCharacters));
        while (end > lastLine.textStart() && lastLine.cursorToX(end) > limit) {
            --end;
        }
        while (end > lastLine.textStart() && end <= blockText.size() && blockText.at(end - 1).isSpace()) {
            --end;
        }
    }
    cut.textEnd = std::max(0.0, lastLine.cursorToX(end));
    return cut;
}
