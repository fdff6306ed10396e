// Reads the rich-text asset of a card; every failure falls back to the plain text.
#include "popup/RichTextPreview.h"

#include "capture/HtmlSimplifier.h"
#include "capture/RtfParser.h"
#include "capture/RtfReader.h"
#include "capture/RtfdReader.h"
#include "popup/PreviewFile.h"
#include "popup/RichTextPrefix.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace {
// RTF is parsed from its first bytes, on the main thread: 60 ms a megabyte of plain paragraphs, up
// to 270 of nothing but control words. More are read only when the first hold too little text, as
// when pictures or long style tables come first.
constexpr qint64 rtfFirstBytes = 64LL * 1024;
constexpr qint64 rtfMostBytes = 128LL * 1024;
// Qt's HTML importer takes about a millisecond for 2 KB.
constexpr qint64 htmlPrefixBytes = 64LL * 1024;
// A flat RTFD is read whole to find its text; its text is then cut like RTF.
constexpr qint64 maxRtfdBytes = 16LL * 1024 * 1024;

// A text document that refuses every resource its HTML names.
class IsolatedTextDocument final : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

// The document of the first bytes of an RTF text, read by `head` for a given byte count.
template <typename Head> RichTextPreview::Preview fromRtf(Head head)
{
    for (const qint64 bytes : {rtfFirstBytes, rtfMostBytes}) {
        const std::optional<PreviewFile::Head> prefix = head(bytes);
        std::optional<RtfText> text = prefix ? RtfParser::parse(prefix->bytes) : std::nullopt;
        if (!text) {
            return {};
        }
        const bool isFull = RichTextPrefix::cut(*text); // a screenful was read
        if (isFull || prefix->isWhole) {
            return {RtfReader::toDocument(*text), isFull || !prefix->isWhole};
        }
        if (bytes == rtfMostBytes && !text->text().trimmed().isEmpty()) {
            return {RtfReader::toDocument(*text), true};
        }
    }
    // The first bytes of a longer document hold no text: the plain text shows more of it.
    return {};
}

RichTextPreview::Preview fromHtml(const PreviewFile::Head& head)
{
    const qsizetype length = RichTextPrefix::htmlLength(head.bytes);
    const bool isCut = length < head.bytes.size() || !head.isWhole;
    QString html = QString::fromUtf8(head.bytes.left(length));
    if (isCut && html.endsWith(QChar::ReplacementCharacter)) {
        html.chop(1); // a character cut in two
    }
    // Stored HTML is what the copying program offered, not yet made fit for the importer.
    return {RichTextPreview::documentFromHtml(HtmlSimplifier::simplifyForImport(html)), isCut};
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

RichTextPreview::Preview RichTextPreview::load(const ClipboardItem& item)
{
    if (!item.assetPath) {
        return {};
    }
    const QString& path = *item.assetPath;
    if (path.endsWith(QLatin1String(".rtfd"))) {
        const std::optional<QByteArray> flat = PreviewFile::readWhole(path, maxRtfdBytes);
        const std::optional<QByteArray> rtf = flat ? RtfdReader::rtfText(*flat) : std::nullopt;
        if (!rtf) {
            return {};
        }
        return fromRtf([&rtf](qint64 bytes) {
            return std::optional<PreviewFile::Head>({rtf->left(bytes), rtf->size() <= bytes});
        });
    }
    if (path.endsWith(QLatin1String(".html"))) {
        const std::optional<PreviewFile::Head> head = PreviewFile::readHead(path, htmlPrefixBytes);
        return head ? fromHtml(*head) : Preview{};
    }
    return fromRtf([&path](qint64 bytes) { return PreviewFile::readHead(path, bytes); });
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

RichTextPreview::TailCut RichTextPreview::cutAtWholeLines(const QTextDocument& document, const QSizeF& area,
                                                          bool goesOn)
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
    if (!overflowed && goesOn) {
        cut.truncated = true; // all that was read fits, but the document does not end there
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
