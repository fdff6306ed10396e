// Card texts and actions: link hosts, smart actions, image-file detection, footers, line ends and
// the wrapping of file names.
#include "popup/CardContent.h"

#include "platform/SystemFont.h"
#include "popup/WrappedText.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

namespace {
ClipboardItem itemOf(ClipboardKind kind)
{
    ClipboardItem item;
    item.kind = kind;
    return item;
}

struct Recorder
{
    QList<QUrl> opened;
    QStringList revealed, saved, copied;
    CardActionHandlers handlers()
    {
        return {[this](const QUrl& url) { opened << url; }, [this](const QString& p) { revealed << p; },
                [this](const QString& p) { saved << p; }, [this](const QString& t) { copied << t; }};
    }
};

TEST(CardContent, LinkHost)
{
    ClipboardItem link = itemOf(ClipboardKind::link);
    EXPECT_EQ(CardContent::linkHost(link), QString()) << "no text";
    link.text = QStringLiteral("  https://www.example.com/path?q=1 \n");
    EXPECT_EQ(CardContent::linkHost(link), QStringLiteral("www.example.com"));
    link.text = QStringLiteral(" not a url ");
    EXPECT_EQ(CardContent::linkHost(link), QStringLiteral(" not a url ")) << "untrimmed when it does not parse";
    link.text = QStringLiteral(" mailto:someone@example.com ");
    EXPECT_EQ(CardContent::linkHost(link), QStringLiteral("mailto:someone@example.com")) << "no host: trimmed";
}

TEST(CardContent, SmartActionsByKind)
{
    Recorder recorder;
    ClipboardItem link = itemOf(ClipboardKind::link);
    link.text = QStringLiteral(" https://example.com/a ");
    QList<CardAction> actions = CardContent::smartActions(link, recorder.handlers());
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].id, QStringLiteral("open"));
    EXPECT_EQ(actions[0].icon, QStringLiteral("arrow.up.right.square"));
    EXPECT_EQ(actions[0].label, QStringLiteral("Open in browser"));
    actions[0].run();
    EXPECT_EQ(recorder.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.com/a"))});

    link.text = QStringLiteral("two words");
    EXPECT_TRUE(CardContent::smartActions(link, recorder.handlers()).isEmpty());

    ClipboardItem files = itemOf(ClipboardKind::file);
    EXPECT_TRUE(CardContent::smartActions(files, recorder.handlers()).isEmpty()) << "no paths";
    files.filePaths = QStringList{QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.txt")};
    actions = CardContent::smartActions(files, recorder.handlers());
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].label, QStringLiteral("Reveal in Finder"));
    actions[0].run();
    EXPECT_EQ(recorder.revealed, QStringList{QStringLiteral("/tmp/a.txt")});

    for (ClipboardKind kind : {ClipboardKind::text, ClipboardKind::richText, ClipboardKind::html}) {
        ClipboardItem text = itemOf(kind);
        text.text = QStringLiteral("https://example.com");
        EXPECT_TRUE(CardContent::smartActions(text, recorder.handlers()).isEmpty());
    }

    ClipboardItem pdf = itemOf(ClipboardKind::pdf);
    EXPECT_TRUE(CardContent::smartActions(pdf, recorder.handlers()).isEmpty());
    pdf.imagePath = QStringLiteral("/data/images/page.png");
    pdf.assetPath = QStringLiteral("/data/assets/doc.pdf");
    actions = CardContent::smartActions(pdf, recorder.handlers());
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].id, QStringLiteral("save"));
    EXPECT_EQ(actions[0].label, QStringLiteral("Save\u2026"));
    actions[0].run();
    EXPECT_EQ(recorder.saved, QStringList{QStringLiteral("/data/images/page.png")}) << "image path first";

    ClipboardItem color = itemOf(ClipboardKind::color);
    color.colorHex = QStringLiteral("#336699");
    actions = CardContent::smartActions(color, recorder.handlers());
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].label, QStringLiteral("Copy as rgb(51, 102, 153)"));
    actions[0].run();
    EXPECT_EQ(recorder.copied, QStringList{QStringLiteral("rgb(51, 102, 153)")});
    color.colorHex = QStringLiteral("#12345");
    EXPECT_TRUE(CardContent::smartActions(color, recorder.handlers()).isEmpty());
}

TEST(CardContent, IsImageFile)
{
    EXPECT_TRUE(CardContent::isImageFile(QStringLiteral("/a/photo.png")));
    EXPECT_TRUE(CardContent::isImageFile(QStringLiteral("/a/PHOTO.JPG")));
    EXPECT_TRUE(CardContent::isImageFile(QStringLiteral("/a/drawing.svg")));
    EXPECT_FALSE(CardContent::isImageFile(QStringLiteral("/a/doc.pdf")));
    EXPECT_FALSE(CardContent::isImageFile(QStringLiteral("/a/noextension")));
    EXPECT_FALSE(CardContent::isImageFile(QStringLiteral("/a.png/inside")));
    EXPECT_FALSE(CardContent::isImageFile(QStringLiteral("/a/file.")));
    EXPECT_FALSE(CardContent::isImageFile(QStringLiteral("/a/archive.unknownext")));
}

TEST(CardContent, FooterTexts)
{
    ClipboardItem text = itemOf(ClipboardKind::text);
    EXPECT_EQ(CardContent::characterCountText(text), QStringLiteral("0 characters"));
    text.text = QStringLiteral("twelve chars");
    EXPECT_EQ(CardContent::characterCountText(text), QStringLiteral("12 characters"));
    text.text = QStringLiteral("e\u0301\U0001F44D\U0001F3FD"); // two graphemes
    EXPECT_EQ(CardContent::characterCountText(text), QStringLiteral("2 characters"));
    text.characterCount = 10;
    EXPECT_EQ(CardContent::characterCountText(text), QStringLiteral("10 characters")) << "stored count wins";

    ClipboardItem files = itemOf(ClipboardKind::file);
    EXPECT_EQ(CardContent::fileFolderText(files, "/home/u"), QStringLiteral("File"));
    files.filePaths = QStringList{};
    EXPECT_EQ(CardContent::fileFolderText(files, "/home/u"), QStringLiteral("File"));
    EXPECT_EQ(CardContent::moreFilesText(files), QString());
    files.filePaths = QStringList{"/home/u/Documents/a.txt", "/b", "/c"};
    EXPECT_EQ(CardContent::fileFolderText(files, "/home/u"), QStringLiteral("~/Documents"));
    EXPECT_EQ(CardContent::moreFilesText(files), QStringLiteral("+2 more"));
    EXPECT_EQ(CardContent::firstFileName(files), QStringLiteral("a.txt"));
    files.filePaths = QStringList{"/home/user2/x.txt"};
    EXPECT_EQ(CardContent::fileFolderText(files, "/home/u"), QStringLiteral("/home/user2")) << "not a prefix match";
    files.filePaths = QStringList{"/home/u/x.txt"};
    EXPECT_EQ(CardContent::fileFolderText(files, "/home/u/"), QStringLiteral("~"));
}
TEST(CardContent, TextsBreakAtEveryKindOfLineEndAndFileNamesBetweenWords)
{
    const QString ls(QChar::LineSeparator);
    EXPECT_EQ(CardContent::previewText(QStringLiteral("a\rb\rc"), 100), "a" + ls + "b" + ls + "c") << "old Mac";
    EXPECT_EQ(CardContent::previewText(QStringLiteral("a\r\nb\nc\u2029d\te"), 100),
              "a" + ls + "b" + ls + "c" + ls + "d    e");

    const QFont font = SystemFont::regular(12, QFont::Medium);
    const QFontMetricsF metrics(font);
    const QString name = QStringLiteral("Minutes of the extraordinary shareholders meeting.pdf");
    // Room for "Minutes of the extraordinary" and a few letters more, not for the next word.
    const double width = metrics.horizontalAdvance(QStringLiteral("Minutes of the extraordinary sh"));
    EXPECT_EQ(WrappedText::lines(name, font, width, 2),
              (QStringList{"Minutes of the extraordinary", "shareholders meeting.pdf"}));

    // One word wider than a line breaks inside; what does not fit on two lines ends in an ellipsis.
    const QString word = QStringLiteral("Supercalifragilisticexpialidocious_and_more_without_spaces.txt");
    const QStringList lines =
        WrappedText::lines(word, font, metrics.horizontalAdvance(QStringLiteral("Supercalifr")), 2);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(word.startsWith(lines.at(0) + lines.at(1).chopped(1)));
    EXPECT_TRUE(lines.at(1).endsWith(QChar(0x2026)));
}
} // namespace
