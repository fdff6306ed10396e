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
        if (auto item = color()) {
            return item;
        }
        m_plainText = PasteboardText::bestPlainText(m_reader);
        using Stage = std::optional<ClipboardItem> (Capture::*)() const;
        static const QList<Stage> stages = {&Capture::pdf, &Capture::image, &Capture::rtfd,
                                            &Capture::rtf, &Capture::html,  &Capture::linkOrText};
        // Every other kind would hold this text (or one made from the same content): only a picture
        // is worth reading on, and none of the costly text work is done.
        static const QList<Stage> pictureOnly = {&Capture::image};
        const bool textTooLong = m_plainText && !fits(*m_plainText);
        for (const Stage stage : textTooLong ? pictureOnly : stages) {
            // A change whose reads broke off part-way is not to be recorded from what was read so far.
            if (m_reader.hasFailed()) {
                return std::nullopt;
            }
            if (auto item = (this->*stage)()) {
                return item;
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

    qsizetype tooLongText() const { return m_tooLongText; }

private:
    // Notes a text too long to keep.
    bool fits(const QString& text) const
    {
        if (text.size() <= maxTextLength) {
            return true;
        }
        m_tooLongText = std::max(m_tooLongText, text.size());
        return false;
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
        const auto urls = m_reader.urls();
        if (!urls || m_reader.hasFailed() || urls->isEmpty() ||
            !std::all_of(urls->begin(), urls->end(), [](const QUrl& url) { return url.isLocalFile(); })) {
            return std::nullopt;
        }
        ClipboardItem item = newItem(ClipboardKind::file);
        QStringList paths;
        for (const QUrl& url : *urls) {
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
        item.text = m_plainText ? *m_plainText : pdfPlaceholder;
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
        if (!text || text->isEmpty() || !fits(*text)) {
            return std::nullopt;
        }
        ClipboardItem item = textItem(ClipboardKind::richText, *text);
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
        const auto capture = HtmlHeuristics::evaluateHTML(m_reader, m_plainText);
        if (!capture || m_reader.hasFailed() || !fits(capture->text)) {
            return std::nullopt;
        }
        ClipboardItem item = textItem(ClipboardKind::html, capture->text);
        item.assetPath = m_files.saveAsset(capture->data, QStringLiteral("html"));
        return item;
    }

    std::optional<ClipboardItem> linkOrText() const
    {
        if (!m_plainText || m_plainText->isEmpty()) {
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
    mutable qsizetype m_tooLongText = 0;
};
} // namespace

std::optional<ClipboardItem> readItem(PasteboardReader& reader, const CaptureSource& source, CaptureFiles& files,
                                      qsizetype* tooLongText)
{
    Capture capture(reader, source, files);
    auto item = capture.run();
    if (!item && tooLongText) {
        *tooLongText = capture.tooLongText();
    }
    return item;
}
} // namespace PasteboardClassifier
