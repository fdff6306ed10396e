// Previews read bounded amounts: only regular files, never more bytes than asked, and rich text
// from a prefix of a screenful however long the document.
#include "popup/PreviewFile.h"
#include "popup/RichTextPrefix.h"
#include "popup/RichTextPreview.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
TEST(BoundedPreviewTest, OnlyRegularFilesAreReadAndNoMoreThanAsked)
{
    FakeEnvironment env;
    const QString fifo = env.path() + QStringLiteral("/pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = env.path() + QStringLiteral("/zero.png");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    // Neither is opened, so neither can block nor feed the reader without end.
    EXPECT_FALSE(PreviewFile::readHead(fifo, 10));
    EXPECT_FALSE(PreviewFile::readWhole(zero, 10));
    EXPECT_FALSE(PreviewFile::readHead(env.path(), 10)) << "a folder";
    EXPECT_FALSE(PreviewFile::readHead(env.path() + QStringLiteral("/gone"), 10));
    EXPECT_EQ(PreviewFile::typeName(fifo), QStringLiteral("inode/fifo"));
    EXPECT_EQ(PreviewFile::typeName(zero), QStringLiteral("inode/chardevice"));
    EXPECT_EQ(PreviewFile::typeName(env.path()), QStringLiteral("inode/directory"));
    EXPECT_EQ(PreviewFile::typeName(env.path() + QStringLiteral("/gone.png")), QStringLiteral("image/png"));

    const QString file = env.path() + QStringLiteral("/ten");
    ASSERT_TRUE(writeFileBytes(file, "0123456789"));
    const QString link = env.path() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(file, link));
    const std::optional<PreviewFile::Head> head = PreviewFile::readHead(link, 4);
    ASSERT_TRUE(head) << "a link to a regular file is followed";
    EXPECT_EQ(head->bytes, "0123");
    EXPECT_FALSE(head->isWhole);
    EXPECT_TRUE(PreviewFile::readHead(file, 10)->isWhole);
    EXPECT_EQ(PreviewFile::readWhole(file, 10), QByteArray("0123456789"));
    EXPECT_FALSE(PreviewFile::readWhole(file, 9)) << "an oversized file is not read";
    EXPECT_EQ(PreviewFile::typeName(file), QStringLiteral("text/plain")) << "typed by its content";
}

TEST(BoundedPreviewTest, LongRichTextIsBuiltFromAPrefix)
{
    FakeEnvironment env;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl\\f0 Helvetica;}\\f0\\b Minutes\\b0\\par ";
    QByteArray html = "<html><head><style>p { color: red }</style></head><body><h1>Page</h1>";
    for (int i = 0; i < 200000; ++i) {
        rtf += "Item " + QByteArray::number(i) + ".\\par ";
        html += "<p>Item " + QByteArray::number(i) + ".</p>";
    }
    rtf += "}";
    ClipboardItem item;
    item.kind = ClipboardKind::richText;
    item.assetPath = env.path() + QStringLiteral("/long.rtf");
    ASSERT_TRUE(writeFileBytes(*item.assetPath, rtf));
    RichTextPreview::Preview preview = RichTextPreview::load(item);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview.isCut);
    EXPECT_EQ(preview.document->blockCount(), RichTextPrefix::maxParagraphs + 1) << "and an empty last block";
    EXPECT_TRUE(preview.document->toPlainText().startsWith(QStringLiteral("Minutes\nItem 0.\nItem 1.\n")));

    item.assetPath = env.path() + QStringLiteral("/long.html");
    ASSERT_TRUE(writeFileBytes(*item.assetPath, html));
    preview = RichTextPreview::load(item);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview.isCut);
    EXPECT_LE(preview.document->blockCount(), RichTextPrefix::maxHtmlTags / 2 + 1);
    EXPECT_TRUE(preview.document->toPlainText().startsWith(QStringLiteral("Page\nItem 0.\n")))
        << "the style sheet is no text";

    // Text behind a picture is read from a longer prefix; with none in the longest, the card shows
    // the plain text.
    item.assetPath = env.path() + QStringLiteral("/picture.rtf");
    ASSERT_TRUE(writeFileBytes(*item.assetPath, "{\\rtf1{\\pict " + QByteArray(100000, 'a') + "}After}"));
    preview = RichTextPreview::load(item);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview.document->toPlainText(), QStringLiteral("After"));
    EXPECT_FALSE(preview.isCut);
    ASSERT_TRUE(writeFileBytes(*item.assetPath, "{\\rtf1{\\pict " + QByteArray(1000000, 'a') + "}After}"));
    EXPECT_FALSE(RichTextPreview::load(item));
}
} // namespace
