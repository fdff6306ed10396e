// The history entry's derived values: titles, duplicate keys and the content hash.
#include "history/ClipboardItem.h"

#include <gtest/gtest.h>

namespace {
ClipboardItem itemOf(ClipboardKind kind)
{
    ClipboardItem item;
    item.kind = kind;
    return item;
}
} // namespace

TEST(ClipboardItem, Sha256PrefixKeepsTwelveBytes)
{
    EXPECT_EQ(sha256Prefix("abc"), QStringLiteral("ba7816bf8f01cfea414140de"));
    EXPECT_EQ(sha256Prefix(QByteArray()), QStringLiteral("e3b0c44298fc1c149afbf4c8"));
    EXPECT_EQ(sha256Prefix(QByteArray(1 << 20, '\0')).size(), 24);
}

TEST(ClipboardItem, TitlesByKind)
{
    const std::pair<ClipboardKind, const char*> titles[] = {
        {ClipboardKind::text, "Text"},   {ClipboardKind::richText, "Rich Text"}, {ClipboardKind::html, "HTML"},
        {ClipboardKind::link, "Link"},   {ClipboardKind::image, "Image"},        {ClipboardKind::pdf, "PDF"},
        {ClipboardKind::color, "Color"}, {ClipboardKind::file, "File"},
    };
    for (const auto& [kind, title] : titles) {
        EXPECT_EQ(itemOf(kind).displayTitle(), QLatin1String(title)) << title;
    }
}

TEST(ClipboardItem, ScreenshotsAreImagesFromAScreenshotTool)
{
    ClipboardItem image = itemOf(ClipboardKind::image);
    EXPECT_FALSE(image.isScreenshot());
    image.sourceBundleID = QStringLiteral("com.apple.screencaptureui");
    EXPECT_TRUE(image.isScreenshot());
    EXPECT_EQ(image.displayTitle(), QStringLiteral("Screenshot"));
    image.sourceBundleID = QStringLiteral("org.gnome.Screenshot");
    EXPECT_EQ(image.displayTitle(), QStringLiteral("Screenshot"));
    image.sourceBundleID = QStringLiteral("com.apple.screencaptureuiX");
    EXPECT_EQ(image.displayTitle(), QStringLiteral("Image"));

    ClipboardItem pdf = itemOf(ClipboardKind::pdf);
    pdf.sourceBundleID = QStringLiteral("com.apple.screencaptureui");
    EXPECT_FALSE(pdf.isScreenshot());
    EXPECT_EQ(pdf.displayTitle(), QStringLiteral("PDF"));
}

TEST(ClipboardItem, FileTitleCountsPaths)
{
    ClipboardItem file = itemOf(ClipboardKind::file);
    EXPECT_EQ(file.displayTitle(), QStringLiteral("File"));
    file.filePaths = QStringList();
    EXPECT_EQ(file.displayTitle(), QStringLiteral("File"));
    file.filePaths = QStringList{QStringLiteral("/a")};
    EXPECT_EQ(file.displayTitle(), QStringLiteral("File"));
    file.filePaths = QStringList{QStringLiteral("/a"), QStringLiteral("/b")};
    EXPECT_EQ(file.displayTitle(), QStringLiteral("Files"));
}

TEST(ClipboardItem, DedupeKeys)
{
    ClipboardItem text = itemOf(ClipboardKind::text);
    EXPECT_EQ(text.dedupeKey(), QStringLiteral("text|"));
    text.text = QStringLiteral("hello");
    EXPECT_EQ(text.dedupeKey(), QStringLiteral("text|hello"));
    ClipboardItem html = text;
    html.kind = ClipboardKind::html;
    EXPECT_EQ(html.dedupeKey(), QStringLiteral("html|hello"));

    ClipboardItem image = itemOf(ClipboardKind::image);
    EXPECT_EQ(image.dedupeKey(), QStringLiteral("image|"));
    image.imagePath = QStringLiteral("/x/images/A.png");
    EXPECT_EQ(image.dedupeKey(), QStringLiteral("image|/x/images/A.png"));
    image.contentHash = QStringLiteral("0123456789abcdef01234567");
    EXPECT_EQ(image.dedupeKey(), QStringLiteral("image|0123456789abcdef01234567"));
    image.kind = ClipboardKind::pdf;
    EXPECT_EQ(image.dedupeKey(), QStringLiteral("pdf|0123456789abcdef01234567"));

    ClipboardItem color = itemOf(ClipboardKind::color);
    color.colorHex = QStringLiteral("#FF0000");
    color.text = QStringLiteral("ignored");
    EXPECT_EQ(color.dedupeKey(), QStringLiteral("color|#FF0000"));

    ClipboardItem file = itemOf(ClipboardKind::file);
    EXPECT_EQ(file.dedupeKey(), QStringLiteral("file|"));
    file.filePaths = QStringList{QStringLiteral("/a"), QStringLiteral("/b")};
    EXPECT_EQ(file.dedupeKey(), QStringLiteral("file|/a::/b"));
}
