// Classification of clipboard contents into entries: stage order, each stage's tests and fallbacks,
// and what is written to disk.
#include "capture/PasteboardClassifier.h"

#include "FolderFiles.h"
#include "capture/ImageDecoding.h"
#include "platform/PasteboardTypes.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <thread>

namespace {
QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    return image;
}

// A one-page PDF whose media box is `width` × `height` points, with a black square in its top-left corner.
QByteArray makePdf(const QByteArray& width, const QByteArray& height)
{
    const QByteArray content = "0 0 0 rg 0 " + QByteArray::number(height.toDouble() - 100) + " 100 100 re f\n";
    const QList<QByteArray> objects{
        "<</Type/Catalog/Pages 2 0 R>>",
        "<</Type/Pages/Kids[3 0 R]/Count 1>>",
        "<</Type/Page/Parent 2 0 R/MediaBox[0 0 " + width + " " + height + "]/Contents 4 0 R>>",
        "<</Length " + QByteArray::number(content.size()) + ">>stream\n" + content + "endstream",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj" + objects[i] + "endobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 5\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets) {
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    pdf += "trailer<</Size 5/Root 1 0 R>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

// A well-formed PNG whose header announces `width` × `height` pixels, followed by very little data.
QByteArray pngAnnouncing(quint32 width, quint32 height)
{
    const auto chunk = [](const QByteArray& type, const QByteArray& payload) {
        QByteArray out(4, '\0');
        qToBigEndian(static_cast<quint32>(payload.size()), out.data());
        QByteArray crc(4, '\0');
        qToBigEndian(crc32(type + payload), crc.data());
        return out + type + payload + crc;
    };
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = 6; // RGBA
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + chunk("IDAT", qCompress(QByteArray(1000, '\0')).mid(4)) +
           chunk("IEND", {});
}

class Classifier : public ::testing::Test
{
protected:
    std::optional<ClipboardItem> read(const PasteboardContent& content)
    {
        clipboard.setContent(content);
        return PasteboardClassifier::readItem(*clipboard.open(clipboard.lastChange(), {}), source, files);
    }

    static PasteboardContent data(QList<std::pair<QString, QByteArray>> flavours)
    {
        PasteboardContent content;
        content.data = std::move(flavours);
        return content;
    }

    FakeClipboard clipboard;
    QTemporaryDir folder;
    FolderFiles files{folder.path()};
    CaptureSource source{QStringLiteral("org.example.Editor"), QStringLiteral("Editor")};
};
} // namespace

TEST_F(Classifier, FilesComeFirstAndNeedOnlyFileUrls)
{
    PasteboardContent content =
        data({{PasteboardType::string, "text"}, {PasteboardType::png, encodedImage(picture(80, 80), "png")}});
    content.hasUrls = true;
    content.urls = {QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt")), QUrl(QStringLiteral("file:///tmp/%C3%A9"))};
    const auto item = read(content);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, ClipboardKind::file);
    EXPECT_EQ(item->filePaths, (QStringList{QStringLiteral("/tmp/a b.txt"), QStringLiteral("/tmp/é")}));
    EXPECT_EQ(item->text, std::nullopt);
    EXPECT_EQ(item->characterCount, std::nullopt);
    EXPECT_EQ(item->sourceBundleID, source.bundleID);
    EXPECT_EQ(item->sourceAppName, source.appName);
    EXPECT_TRUE(files.names().isEmpty());

    // A web URL among them: not files; the later stages decide (here the text).
    content = data({{PasteboardType::string, "text"}});
    content.hasUrls = true;
    content.urls = {QUrl::fromLocalFile(QStringLiteral("/a")), QUrl(QStringLiteral("https://example.org/"))};
    EXPECT_EQ(read(content)->kind, ClipboardKind::text);
    content.urls.clear();
    EXPECT_EQ(read(content)->kind, ClipboardKind::text);

    // More files than an entry holds: the copy is refused with a reason, not kept as its text.
    for (int i = 0; i <= UriList::maxEntries; ++i) {
        content.urls.append(QUrl::fromLocalFile(QStringLiteral("/tmp/%1").arg(i)));
    }
    clipboard.setContent(content);
    QString logLine;
    EXPECT_FALSE(PasteboardClassifier::readItem(*clipboard.open(clipboard.lastChange(), {}), source, files, &logLine));
    EXPECT_EQ(logLine, QStringLiteral("Stashwell: a copied list of files was not recorded: the history keeps lists of "
                                      "up to 10000 files (4 MB)"));
    content.urls.removeLast();
    EXPECT_EQ(read(content)->filePaths->size(), UriList::maxEntries);
}

TEST_F(Classifier, ColourTakesTheFirstOne)
{
    PasteboardContent content = data({{PasteboardType::string, "text"}});
    content.hasColors = true;
    content.colors = {QColor::fromRgbF(1, 0.5f, 0, 0.5f), Qt::blue};
    const auto item = read(content);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, ClipboardKind::color);
    EXPECT_EQ(item->colorHex, QStringLiteral("#FF800080"));
    EXPECT_EQ(item->text, item->colorHex);
    EXPECT_EQ(item->characterCount, std::nullopt);
    content.colors = {Qt::red, QColor()};
    EXPECT_EQ(read(content)->kind, ClipboardKind::text);
}

TEST_F(Classifier, PdfIsKeptReadableOrNot)
{
    const QByteArray pdf = makePdf("400.7", "200.2");
    const auto item =
        read(data({{PasteboardType::pdf, pdf}, {PasteboardType::png, encodedImage(picture(80, 80), "png")}}));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, ClipboardKind::pdf);
    EXPECT_EQ(item->text, QStringLiteral("PDF document"));
    EXPECT_EQ(item->imageWidth, 400);
    EXPECT_EQ(item->imageHeight, 200);
    EXPECT_EQ(item->contentHash, sha256Prefix(pdf));
    ASSERT_TRUE(item->assetPath && item->imagePath);
    EXPECT_EQ(readFileBytes(*item->assetPath), pdf);
    EXPECT_EQ(item->thumbnailPath, item->imagePath);
    const auto page = ImageDecoding::decode(readFileBytes(*item->imagePath), "png");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->size(), QSize(600, 300));
    EXPECT_EQ(page->pixelColor(5, 5), QColor(Qt::black));
    EXPECT_EQ(page->pixelColor(590, 290), QColor(Qt::white));
    EXPECT_TRUE(item->assetPath->endsWith(QStringLiteral(".pdf")));
    EXPECT_TRUE(item->imagePath->endsWith(QStringLiteral(".png")));

    // Damaged (and empty) PDF data still makes an entry, with the plain text when there is one.
    const QByteArray damaged = pdf.left(pdf.size() / 3);
    const auto broken = read(data({{PasteboardType::pdf, damaged}, {PasteboardType::string, " words "}}));
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->kind, ClipboardKind::pdf);
    EXPECT_EQ(broken->text, QStringLiteral(" words "));
    EXPECT_EQ(broken->imageWidth, 0);
    EXPECT_EQ(broken->imageHeight, 0);
    EXPECT_EQ(broken->imagePath, std::nullopt);
    EXPECT_EQ(broken->thumbnailPath, std::nullopt);
    EXPECT_EQ(readFileBytes(*broken->assetPath), damaged);
    EXPECT_EQ(broken->contentHash, sha256Prefix(damaged));
    EXPECT_EQ(read(data({{PasteboardType::pdf, {}}}))->kind, ClipboardKind::pdf);
}

TEST_F(Classifier, ImagesAreStoredAsPngWithAThumbnail)
{
    const QByteArray tiff = encodedImage(picture(1200, 300), "tiff");
    const auto item = read(data({{PasteboardType::tiff, tiff}, {PasteboardType::string, "caption"}}));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, ClipboardKind::image);
    EXPECT_EQ(item->imageWidth, 1200);
    EXPECT_EQ(item->imageHeight, 300);
    EXPECT_EQ(item->contentHash, sha256Prefix(tiff)); // the bytes as offered, not the stored PNG
    EXPECT_EQ(item->text, std::nullopt);
    const QByteArray stored = readFileBytes(*item->imagePath);
    EXPECT_TRUE(stored.startsWith("\x89PNG"));
    EXPECT_EQ(ImageDecoding::decode(stored, "png")->size(), QSize(1200, 300));
    ASSERT_TRUE(item->thumbnailPath);
    EXPECT_NE(item->thumbnailPath, item->imagePath);
    EXPECT_EQ(ImageDecoding::decode(readFileBytes(*item->thumbnailPath), "png")->size(), QSize(600, 150));

    // PNG wins over TIFF; the larger side counts, so 50 × 80 is an image.
    const QByteArray png = encodedImage(picture(50, 80), "png");
    const auto tall = read(data({{PasteboardType::tiff, tiff}, {PasteboardType::png, png}}));
    EXPECT_EQ(tall->imageWidth, 50);
    EXPECT_EQ(tall->contentHash, sha256Prefix(png));
}

TEST_F(Classifier, ImagesThatDoNotQualifyLeaveNoFiles)
{
    // Under 64 pixels: the text decides; with no text nothing is recorded.
    const QByteArray small = encodedImage(picture(63, 63), "png");
    EXPECT_EQ(read(data({{PasteboardType::png, small}, {PasteboardType::string, "alt"}}))->kind, ClipboardKind::text);
    EXPECT_FALSE(read(data({{PasteboardType::png, small}})));
    // Undecodable PNG: TIFF is not tried.
    EXPECT_FALSE(
        read(data({{PasteboardType::png, "garbage"}, {PasteboardType::tiff, encodedImage(picture(90, 90), "tiff")}})));
    // PNG bytes under the TIFF type are not a TIFF, and an SVG under the PNG type is not drawn.
    EXPECT_FALSE(read(data({{PasteboardType::tiff, encodedImage(picture(90, 90), "png")}})));
    EXPECT_FALSE(
        read(data({{PasteboardType::png, "<svg xmlns='http://www.w3.org/2000/svg' width='90' height='90'/>"}})));
    // A header announcing an enormous image is refused before any pixel memory is taken.
    QByteArray bomb = pngAnnouncing(60000, 60000);
    QBuffer header(&bomb);
    header.open(QIODevice::ReadOnly);
    ASSERT_EQ(QImageReader(&header, "png").size(), QSize(60000, 60000));
    EXPECT_EQ(read(data({{PasteboardType::png, bomb}, {PasteboardType::string, "x"}}))->kind, ClipboardKind::text);
    EXPECT_TRUE(files.names().isEmpty());
}

TEST_F(Classifier, RichTextFromRtfdThenRtf)
{
    const QByteArray rtf = "{\\rtf1\\ansi {\\b Bold} caf\\'e9}";
    QByteArray flat = "rtfd" + QByteArray(4, '\0') + QByteArray("\3\0\0\0\1\0\0\0\7\0\0\0", 12) + "TXT.rtf";
    QByteArray length(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(rtf.size()), length.data());
    flat += length + rtf;

    const auto fromRtfd = read(data({{PasteboardType::rtf, "{\\rtf1 other}"}, {PasteboardType::flatRtfd, flat}}));
    ASSERT_TRUE(fromRtfd);
    EXPECT_EQ(fromRtfd->kind, ClipboardKind::richText);
    EXPECT_EQ(fromRtfd->text, QStringLiteral("Bold café"));
    EXPECT_EQ(fromRtfd->characterCount, 9);
    EXPECT_TRUE(fromRtfd->assetPath->endsWith(QStringLiteral(".rtfd")));
    EXPECT_EQ(readFileBytes(*fromRtfd->assetPath), flat);
    EXPECT_EQ(fromRtfd->contentHash, std::nullopt);

    // A broken RTFD falls to the RTF.
    const auto fromRtf = read(data({{PasteboardType::flatRtfd, flat.left(30)}, {PasteboardType::rtf, rtf}}));
    EXPECT_EQ(fromRtf->text, QStringLiteral("Bold café"));
    EXPECT_TRUE(fromRtf->assetPath->endsWith(QStringLiteral(".rtf")));
}

TEST_F(Classifier, RichTextWithoutVisibleText)
{
    // White space only: the plain flavour when there is one, else the white space itself.
    const QByteArray blank = "{\\rtf1 \\tab\\par}";
    EXPECT_EQ(read(data({{PasteboardType::rtf, blank}, {PasteboardType::string, "plain"}}))->text,
              QStringLiteral("plain"));
    const auto spaces = read(data({{PasteboardType::rtf, blank}}));
    EXPECT_EQ(spaces->kind, ClipboardKind::richText);
    EXPECT_EQ(spaces->text, QStringLiteral("\t\n"));
    // Empty, with no plain flavour: the later stages decide (here the HTML).
    const auto html = read(data({{PasteboardType::rtf, "{\\rtf1 }"}, {PasteboardType::html, "<b>x</b>"}}));
    EXPECT_EQ(html->kind, ClipboardKind::html);
    EXPECT_EQ(files.names().size(), 3); // one per entry, nothing from the empty RTF
    EXPECT_FALSE(read(data({{PasteboardType::rtf, "not rtf"}})));
}

TEST_F(Classifier, HtmlKeepsItsBytesUncut)
{
    const QByteArray html = "<p><b>Hi</b></p>" + QByteArray(300000, ' ');
    const auto item = read(data({{PasteboardType::html, html}, {PasteboardType::string, "Hi"}}));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, ClipboardKind::html);
    EXPECT_EQ(item->text->trimmed(), QStringLiteral("Hi"));
    EXPECT_EQ(item->characterCount, item->text->size());
    EXPECT_EQ(readFileBytes(*item->assetPath), html);
    EXPECT_TRUE(item->assetPath->endsWith(QStringLiteral(".html")));
    // Same text and no formatting: a text item, and no asset.
    EXPECT_EQ(read(data({{PasteboardType::html, "<span>Hi</span>"}, {PasteboardType::string, "Hi"}}))->kind,
              ClipboardKind::text);
    EXPECT_EQ(files.names().size(), 1);
}

TEST_F(Classifier, LinksAndText)
{
    const auto kindOf = [this](const QByteArray& text) { return read(data({{PasteboardType::string, text}}))->kind; };
    const auto link = read(data({{PasteboardType::string, "  https://example.org/a?b=c \n"}}));
    EXPECT_EQ(link->kind, ClipboardKind::link);
    EXPECT_EQ(link->text, QStringLiteral("  https://example.org/a?b=c \n"));
    EXPECT_EQ(link->characterCount, 29);
    EXPECT_EQ(kindOf("http://example.com"), ClipboardKind::link);
    EXPECT_EQ(kindOf("https://localhost/"), ClipboardKind::text);
    EXPECT_EQ(kindOf("HTTPS://example.org"), ClipboardKind::text);
    EXPECT_EQ(kindOf("ftp://example.org"), ClipboardKind::text);
    EXPECT_EQ(kindOf("https://exa mple.org"), ClipboardKind::text);
    EXPECT_EQ(kindOf("see https://example.org"), ClipboardKind::text);
    EXPECT_EQ(read(data({{PasteboardType::string, "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD ok"}}))->characterCount, 4);
    EXPECT_FALSE(read(data({{PasteboardType::string, ""}})));
    EXPECT_FALSE(read(PasteboardContent{}));
}

TEST_F(Classifier, AFailedReadYieldsNothingAndStoresNothing)
{
    clipboard.setContent(data({{PasteboardType::pdf, makePdf("100", "100")}, {PasteboardType::string, "t"}}));
    clipboard.setUnresponsive(true);
    EXPECT_FALSE(PasteboardClassifier::readItem(*clipboard.open(clipboard.lastChange(), {}), source, files));
    EXPECT_TRUE(files.names().isEmpty());
}

TEST_F(Classifier, RunsOffTheMainThread)
{
    // The capture worker classifies on its own thread: documents, images and PDF pages are made there.
    const QList<PasteboardContent> contents{
        data({{PasteboardType::html, "<table><tr><td>cell</td></tr></table>"}}),
        data({{PasteboardType::rtf, "{\\rtf1 {\\b x}}"}}),
        data({{PasteboardType::png, encodedImage(picture(700, 100), "png")}}),
        data({{PasteboardType::pdf, makePdf("300", "300")}}),
    };
    QList<ClipboardKind> kinds;
    std::thread worker([&] {
        for (const auto& content : contents) {
            clipboard.setContent(content);
            if (const auto item =
                    PasteboardClassifier::readItem(*clipboard.open(clipboard.lastChange(), {}), source, files)) {
                kinds.append(item->kind);
            }
        }
    });
    worker.join();
    EXPECT_EQ(kinds, (QList<ClipboardKind>{ClipboardKind::html, ClipboardKind::richText, ClipboardKind::image,
                                           ClipboardKind::pdf}));
}
