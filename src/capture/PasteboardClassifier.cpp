// The capture stages in order of priority; each either builds the entry or passes to the next.
#include "capture/PasteboardClassifier.h"

#include "capture/ColorHex.h"
#include "capture/Graphemes.h"
#include "capture/HtmlHeuristics.h"
#include "capture/ImageDecoding.h"
#include "capture/PasteboardText.h"
#include "capture/PdfPreview.h"
#include "capture/RtfReader.h"
#include "capture/RtfdReader.h"
#include "capture/Thumbnail.h"
#include "capture/WorkBudget.h"
#include "platform/PasteboardReader.h"
#include "platform/PasteboardTypes.h"

#include <QUrl>
#include <algorithm>

namespace PasteboardClassifier {
namespace {
// Images whose larger side is under this many pixels are icons or spacers, not worth an entry.
constexpr int minimumImageSide = 64;
const QString pdfPlaceholder = QStringLiteral("PDF document");

class Capture
{
public:
    Capture(PasteboardReader& reader, const CaptureSource& source, CaptureFiles& files)
        : m_reader(reader), m_source(source), m_files(files)
    {}

    std::optional<ClipboardItem> run()
    {
        if (auto item = files()) {
            return item;
        }
        if (!m_logLine.isEmpty()) {
            return std::nullopt; // a file list too long to keep: the copy is refused, not read as something else
        }
        if (auto item = color()) {
            return item;
        }
        m_plainText = PasteboardText::bestPlainText(m_reader);
        using Stage = std::optional<ClipboardItem> (Capture::*)() const;
        static const QList<Stage> stages = {&Capture::pdf, &Capture::image, &Capture::rtfd,
                                            &Capture::rtf, &Capture::html,  &Capture::linkOrText};
        for (const Stage stage : stages) {
            // A change whose reads broke off part-way is not to be recorded from what was read so far.
            if (m_reader.hasFailed()) {
                return std::nullopt;
            }
            if (auto item = (this->*stage)()) {
                return item;
            }
            if (m_budget.isSpent()) {
                m_logLine = QStringLiteral("Stashwell: a copy was not recorded: its HTML is too complex to read (too "
                                           "many elements, nested too deeply)");
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    ClipboardItem newItem(ClipboardKind kind) const
    {
        ClipboardItem item;
        item.kind = kind;
        item.sourceBundleID = m_source.bundleID;
        item.sourceAppName = m_source.appName;
        return item;
    }

    const QString& logLine() const { return m_logLine; }

private:
    // The text a document's entry keeps: all of it, or its beginning when it is too long to keep (the
    // document's file keeps everything). The log says so.
    QString keptText(const QString& text, const char* document) const
    {
        if (text.size() <= maxTextLength) {
            return text;
        }
        m_logLine = QStringLiteral("Stashwell: the text of a copied %1 (%2 characters) was cut to its first %3 "
                                   "characters; the document itself is kept whole")
                        .arg(QLatin1String(document))
                        .arg(text.size())
                        .arg(maxTextLength);
        return graphemesWithin(text, maxTextLength);
    }

    ClipboardItem textItem(ClipboardKind kind, const QString& text) const
    {
        ClipboardItem item = newItem(kind);
        item.text = text;
        item.characterCount = graphemeCount(text);
        return item;
    }

    std::optional<QByteArray> readData(const QString& type) const
    {
        auto bytes = m_reader.data(type);
        // Nothing is stored from a read that ran out of time, even when some bytes came.
        if (m_reader.hasFailed()) {
            return std::nullopt;
        }
        return bytes;
    }

    std::optional<ClipboardItem> files() const
    {
        const auto list = m_reader.urls();
        if (!list || m_reader.hasFailed()) {
            return std::nullopt;
        }
        if (list->isOverLimit || list->urls.size() > UriList::maxEntries) {
            m_logLine = QStringLiteral("Stashwell: a copied list of files was not recorded: the history keeps lists of "
                                       "up to %1 files (%2 MB)")
                            .arg(UriList::maxEntries)
                            .arg(UriList::maxBytes / (1024 * 1024));
            return std::nullopt;
        }
        const QList<QUrl>& urls = list->urls;
        if (urls.isEmpty() ||
            !std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
            return std::nullopt;
        }
        ClipboardItem item = newItem(ClipboardKind::file);
        QStringList paths;
        for (const QUrl& url : urls) {
            paths.append(url.toLocalFile());
        }
        item.filePaths = paths;
        return item;
    }

    std::optional<ClipboardItem> color() const
    {
        const auto colors = m_reader.colors();
        if (!colors || m_reader.hasFailed() || colors->isEmpty() ||
            !std::all_of(colors->begin(), colors->end(), [](const QColor& c) { return c.isValid(); })) {
            return std::nullopt;
        }
        ClipboardItem item = newItem(ClipboardKind::color);
        item.colorHex = hexString(colors->first());
        item.text = item.colorHex;
        return item;
    }

    // The PDF bytes are kept whatever is inside them, so damaged PDF data still becomes an entry.
    std::optional<ClipboardItem> pdf() const
    {
        const auto bytes = readData(PasteboardType::pdf);
        if (!bytes) {
            return std::nullopt;
        }
        ClipboardItem item = newItem(ClipboardKind::pdf);
        item.assetPath = m_files.saveAsset(*bytes, QStringLiteral("pdf"));
        const PdfPreview preview = previewPdf(*bytes);
        item.imageWidth = preview.width;
        item.imageHeight = preview.height;
        if (preview.firstPage) {
            if (const auto png = ImageDecoding::encodePNG(*preview.firstPage)) {
                item.imagePath = m_files.saveImage(*png, QStringLiteral("png"));
                item.thumbnailPath = item.imagePath;
            }
        }
        item.text = m_plainText ? keptText(*m_plainText, "PDF document") : pdfPlaceholder;
        item.contentHash = sha256Prefix(*bytes);
        return item;
    }

    std::optional<ClipboardItem> image() const
    {
        QByteArray format = "png";
        auto bytes = readData(PasteboardType::png);
        if (!bytes) {
            format = "tiff";
            bytes = readData(PasteboardType::tiff);
        }
        if (!bytes) {
            return std::nullopt;
        }
        const auto bitmap = ImageDecoding::decode(*bytes, format);
        if (!bitmap || std::max(bitmap->width(), bitmap->height()) < minimumImageSide) {
            return std::nullopt;
        }
        const auto png = ImageDecoding::encodePNG(*bitmap);
        const QByteArray& stored = png ? *png : *bytes;
        ClipboardItem item = newItem(ClipboardKind::image);
        item.imagePath = m_files.saveImage(stored, QStringLiteral("png"));
        // The stored bytes hold exactly this bitmap, so they are not decoded a second time.
        if (const auto thumbnail = makeThumbnail(*bitmap)) {
            item.thumbnailPath = m_files.saveImage(*thumbnail, QStringLiteral("png"));
        }
        item.imageWidth = bitmap->width();
        item.imageHeight = bitmap->height();
        item.contentHash = sha256Prefix(*bytes);
        return item;
    }

    template <typename Read>
    std::optional<ClipboardItem> richText(const QString& type, Read readPlainString, const QString& ext) const
    {
        const auto bytes = readData(type);
        if (!bytes) {
            return std::nullopt;
        }
        const std::optional<QString> plainString = readPlainString(*bytes);
        if (!plainString) {
            return std::nullopt;
        }
        const auto text = PasteboardText::displayText(plainString, m_plainText);
        if (!text || text->isEmpty()) {
            return std::nullopt;
        }
        ClipboardItem item = textItem(ClipboardKind::richText, keptText(*text, "rich text document"));
        item.assetPath = m_files.saveAsset(*bytes, ext);
        return item;
    }

    std::optional<ClipboardItem> rtfd() const
    {
        return richText(PasteboardType::flatRtfd, RtfdReader::plainText, QStringLiteral("rtfd"));
    }

    std::optional<ClipboardItem> rtf() const
    {
        return richText(PasteboardType::rtf, RtfReader::plainText, QStringLiteral("rtf"));
    }

    std::optional<ClipboardItem> html() const
    {
        const auto capture = HtmlHeuristics::evaluateHTML(m_reader, m_plainText, &m_budget);
        if (!capture || m_reader.hasFailed()) {
            return std::nullopt;
        }
        ClipboardItem item = textItem(ClipboardKind::html, keptText(capture->text, "HTML document"));
        item.assetPath = m_files.saveAsset(capture->data, QStringLiteral("html"));
        return item;
    }

    std::optional<ClipboardItem> linkOrText() const
    {
        if (!m_plainText || m_plainText->isEmpty()) {
            return std::nullopt;
        }
        // A text is all there is to this entry: cut, it would paste back something else.
        if (m_plainText->size() > maxTextLength) {
            m_logLine = QStringLiteral("Stashwell: a copied text of %1 characters was not recorded: the history keeps "
                                       "texts of up to %2 characters")
                            .arg(m_plainText->size())
                            .arg(maxTextLength);
            return std::nullopt;
        }
        return textItem(isLink(m_plainText->trimmed()) ? ClipboardKind::link : ClipboardKind::text, *m_plainText);
    }

    // A web address: an http or https URL (scheme in lower case, as written) with a dot somewhere.
    static bool isLink(const QString& trimmed)
    {
        const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
        const QStringView scheme = QStringView(trimmed).left(std::max<qsizetype>(colon, 0));
        if (scheme != u"http" && scheme != u"https") {
            return false;
        }
        return trimmed.contains(QLatin1Char('.')) && QUrl(trimmed, QUrl::StrictMode).isValid();
    }

    PasteboardReader& m_reader;
    const CaptureSource& m_source;
    CaptureFiles& m_files;
    std::optional<QString> m_plainText;
    mutable QString m_logLine;
    mutable WorkBudget m_budget;
};
} // namespace

std::optional<ClipboardItem> readItem(PasteboardReader& reader, const CaptureSource& source, CaptureFiles& files,
                                      QString* logLine)
{
    Capture capture(reader, source, files);
    auto item = capture.run();
    if (logLine) {
        *logLine = capture.logLine();
    }
    return item;
}
} // namespace PasteboardClassifier
