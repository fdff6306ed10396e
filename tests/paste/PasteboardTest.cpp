// Placing history entries back on the clipboard: one representation per kind, and the monitor's skip.
#include "paste/Pasteboard.h"
#include "platform/Applications.h"

#include "history/ClipboardItem.h"
#include "platform/PasteboardTypes.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct PasteboardTest : ::testing::Test
{
    QTemporaryDir dir;
    FakeClipboard clipboard;
    int suppressCalls = 0;
    int replacesSeenBySuppress = -1;

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeFileBytes(path, bytes));
        return path;
    }

    ClipboardItem item(ClipboardKind kind, std::optional<QString> text = QStringLiteral("the text"))
    {
        ClipboardItem result;
        result.kind = kind;
        result.text = std::move(text);
        return result;
    }

    PasteboardContent place(const ClipboardItem& entry, bool plainOnly)
    {
        Pasteboard::place(entry, plainOnly, clipboard, [this] {
            ++suppressCalls;
            replacesSeenBySuppress = clipboard.replaceCount();
        });
        return clipboard.content();
    }

    static QList<std::pair<QString, QByteArray>> only(const QString& type, const QByteArray& bytes)
    {
        return {{type, bytes}};
    }
};
} // namespace

TEST_F(PasteboardTest, EachPlaceMarksExactlyOneChangeAsOurOwnBeforeWriting)
{
    place(item(ClipboardKind::text), false);
    EXPECT_EQ(suppressCalls, 1);
    EXPECT_EQ(replacesSeenBySuppress, 0) << "the skip must be set before the clipboard changes";
    EXPECT_EQ(clipboard.replaceCount(), 1);
    EXPECT_EQ(clipboard.changeCount(), 1);

    // Nothing to write still replaces the content once, so the skip is spent on this change.
    ClipboardItem missing = item(ClipboardKind::image);
    missing.imagePath = dir.filePath("gone.png");
    EXPECT_TRUE(place(missing, false).isEmpty());
    EXPECT_EQ(suppressCalls, 2);
    EXPECT_EQ(clipboard.replaceCount(), 2);
    EXPECT_EQ(clipboard.changeCount(), 2);
}

TEST_F(PasteboardTest, TextAndLinksAreOneStringWhateverPlainOnlySays)
{
    const auto expected = only(PasteboardType::string, QByteArray("the text"));
    EXPECT_EQ(place(item(ClipboardKind::text), false).data, expected);
    EXPECT_EQ(place(item(ClipboardKind::text), true).data, expected);

    const PasteboardContent link = place(item(ClipboardKind::link, QStringLiteral("https://example.org/")), false);
    EXPECT_EQ(link.data, only(PasteboardType::string, QByteArray("https://example.org/")));
    EXPECT_FALSE(link.hasUrls) << "a link goes back as text, not as a URL object";

    EXPECT_TRUE(place(item(ClipboardKind::text, std::nullopt), false).isEmpty());
}

TEST_F(PasteboardTest, RichTextIsItsDocumentUnlessPlainOnlyOrUnreadable)
{
    ClipboardItem rtf = item(ClipboardKind::richText);
    rtf.assetPath = file("doc.rtf", "{\\rtf1 x}");
    EXPECT_EQ(place(rtf, false).data, only(PasteboardType::rtf, "{\\rtf1 x}"));
    EXPECT_EQ(place(rtf, true).data, only(PasteboardType::string, "the text"));

    ClipboardItem rtfd = item(ClipboardKind::richText);
    rtfd.assetPath = file("doc.rtfd", QByteArray("rtfd\0\0\0\0", 8));
    EXPECT_EQ(place(rtfd, false).data, only(PasteboardType::flatRtfd, QByteArray("rtfd\0\0\0\0", 8)));

    ASSERT_TRUE(QFile::remove(*rtfd.assetPath));
    EXPECT_EQ(place(rtfd, false).data, only(PasteboardType::string, "the text"));

    ClipboardItem noAsset = item(ClipboardKind::richText);
    EXPECT_EQ(place(noAsset, false).data, only(PasteboardType::string, "the text"));
}

TEST_F(PasteboardTest, HtmlIsItsDocumentUnlessPlainOnlyOrUnreadable)
{
    ClipboardItem html = item(ClipboardKind::html);
    html.assetPath = file("page.html", "<b>the text</b>");
    EXPECT_EQ(place(html, false).data, only(PasteboardType::html, "<b>the text</b>"));
    EXPECT_EQ(place(html, true).data, only(PasteboardType::string, "the text"));

    ASSERT_TRUE(QFile::remove(*html.assetPath));
    EXPECT_EQ(place(html, false).data, only(PasteboardType::string, "the text"));

    // A folder where the file was is unreadable too.
    html.assetPath = dir.path();
    EXPECT_EQ(place(html, false).data, only(PasteboardType::string, "the text"));
}

TEST_F(PasteboardTest, ImagesAndPdfsIgnorePlainOnlyAndFallBackDifferently)
{
    const QByteArray png("\x89PNG\r\n\x1a\n-bytes", 14);
    ClipboardItem image = item(ClipboardKind::image, QStringLiteral("Image"));
    image.imagePath = file("a.png", png);
    EXPECT_EQ(place(image, true).data, only(PasteboardType::png, png));
    ASSERT_TRUE(QFile::remove(*image.imagePath));
    EXPECT_TRUE(place(image, false).isEmpty()) << "an image never falls back to its title";

    ClipboardItem pdf = item(ClipboardKind::pdf, QStringLiteral("page text"));
    pdf.assetPath = file("a.pdf", "%PDF-1.4");
    EXPECT_EQ(place(pdf, true).data, only(PasteboardType::pdf, "%PDF-1.4"));
    ASSERT_TRUE(QFile::remove(*pdf.assetPath));
    EXPECT_EQ(place(pdf, false).data, only(PasteboardType::string, "page text"));
}

TEST_F(PasteboardTest, ColoursAreOneColourObjectReadFromTheirHexForm)
{
    ClipboardItem color = item(ClipboardKind::color, QStringLiteral("#336699"));
    color.colorHex = QStringLiteral("#336699");
    PasteboardContent content = place(color, false);
    EXPECT_TRUE(content.data.isEmpty());
    ASSERT_TRUE(content.hasColors);
    ASSERT_EQ(content.colors.size(), 1);
    EXPECT_EQ(content.colors[0].rgba(), qRgba(0x33, 0x66, 0x99, 0xFF));

    color.colorHex = QStringLiteral("FF800080");
    content = place(color, false);
    ASSERT_EQ(content.colors.size(), 1);
    EXPECT_EQ(content.colors[0].rgba(), qRgba(0xFF, 0x80, 0x00, 0x80));

    for (const char* unreadable : {"#FFF", "#GG0000", "", "#", "#1234567", "0x3366"}) {
        color.colorHex = QString::fromLatin1(unreadable);
        EXPECT_TRUE(place(color, false).isEmpty()) << unreadable;
    }
}

TEST_F(PasteboardTest, FilesAreOneUrlPerPathInOrder)
{
    ClipboardItem files = item(ClipboardKind::file, QStringLiteral("b.txt"));
    files.filePaths = QStringList{QStringLiteral("/tmp/b.txt"), QStringLiteral("/tmp/a folder/a.txt")};
    PasteboardContent content = place(files, false);
    EXPECT_TRUE(content.data.isEmpty()) << "no plain-text flavour beside the files";
    ASSERT_TRUE(content.hasUrls);
    EXPECT_EQ(content.urls,
              (QList<QUrl>{QUrl::fromLocalFile("/tmp/b.txt"), QUrl::fromLocalFile("/tmp/a folder/a.txt")}));

    files.filePaths = QStringList{};
    content = place(files, false);
    EXPECT_TRUE(content.hasUrls) << "an empty list is still written";
    EXPECT_TRUE(content.urls.isEmpty());

    files.filePaths.reset();
    EXPECT_TRUE(place(files, false).isEmpty());
}

TEST(PasteboardKeys, PasteIsPostedOnlyWhenTrustedAndNeverPrompts)
{
    FakeKeySynthesizer keys;
    std::optional<PasteOutcome> outcome;
    auto record = [&outcome](PasteOutcome result) { outcome = result; };
    keys.trusted = false;
    Pasteboard::simulatePaste(keys, RunningApplication{}, record);
    EXPECT_EQ(outcome, PasteOutcome::unavailable);
    EXPECT_EQ(keys.pasteCount, 0);
    EXPECT_EQ(keys.promptCount, 0);
    EXPECT_FALSE(Pasteboard::hasAccessibilityPermission(keys, true));
    EXPECT_EQ(keys.promptCount, 1);

    keys.trusted = true;
    Pasteboard::simulatePaste(keys, RunningApplication{}, record);
    EXPECT_EQ(outcome, PasteOutcome::posted);
    EXPECT_EQ(keys.pasteCount, 1);
    EXPECT_TRUE(Pasteboard::hasAccessibilityPermission(keys, false));
}
