// Rich-text cards: the document comes from the entry's asset alone, and is cut after its last whole
// line with an ellipsis where it goes on.
#include "popup/RichTextPreview.h"

#include "support/TestSupport.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {
TEST(RichTextPreview, ComesFromItsAssetAndLoadsNothingItNames)
{
    FakeEnvironment env;
    ClipboardItem item;
    item.kind = ClipboardKind::richText;
    item.text = QStringLiteral("plain");
    EXPECT_FALSE(RichTextPreview::load(item)) << "no asset";
    item.assetPath = env.path() + QStringLiteral("/missing.rtf");
    EXPECT_FALSE(RichTextPreview::load(item)) << "unreadable asset";

    const QString picture = env.path() + QStringLiteral("/secret.png");
    QImage(4, 4, QImage::Format_RGB32).save(picture);
    const QString html = env.path() + QStringLiteral("/doc.html");
    writeFileBytes(html, "<b>Bold</b> text <img src=\"file://" + picture.toUtf8() + "\">");
    item.assetPath = html;
    std::unique_ptr<QTextDocument> document = RichTextPreview::load(item).document;
    ASSERT_TRUE(document);
    document->setTextWidth(200);
    document->size(); // lay it out, which asks for the image
    EXPECT_TRUE(document->toPlainText().startsWith(QStringLiteral("Bold text")));
    EXPECT_FALSE(document->resource(QTextDocument::ImageResource, QUrl::fromLocalFile(picture)).isValid());
}

TEST(RichTextPreview, ShowsWholeLinesAndEndsInAnEllipsis)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    QFont font = document.defaultFont();
    font.setPixelSize(20);
    document.setDefaultFont(font);
    document.setPlainText(
        QStringLiteral("first line\nsecond line\nabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz\nfourth"));
    document.setTextWidth(150);
    const double lineHeight = document.documentLayout()->blockBoundingRect(document.begin()).height();
    ASSERT_GT(lineHeight, 0);

    const RichTextPreview::TailCut all = RichTextPreview::cutAtWholeLines(document, QSizeF(150, 1000));
    EXPECT_FALSE(all.truncated);

    // Two and a half lines of room: two lines show, and the second ends in an ellipsis.
    const RichTextPreview::TailCut cut = RichTextPreview::cutAtWholeLines(document, QSizeF(150, lineHeight * 2.5));
    ASSERT_TRUE(cut.truncated);
    ASSERT_TRUE(cut.hasLastLine);
    EXPECT_NEAR(cut.lineTop, lineHeight, 0.5);
    EXPECT_LE(cut.lineTop + cut.lineHeight, lineHeight * 2.5);
    const double ellipsis = QFontMetricsF(cut.font).horizontalAdvance(QChar(0x2026));
    EXPECT_NEAR(cut.textEnd, QFontMetricsF(font).horizontalAdvance(QStringLiteral("second line")), 1.0);
    EXPECT_EQ(cut.font.pixelSize(), 20);

    // A full line gives up its last characters to the ellipsis, never a part of one, nor a blank.
    const RichTextPreview::TailCut full = RichTextPreview::cutAtWholeLines(document, QSizeF(150, lineHeight * 3.5));
    ASSERT_TRUE(full.hasLastLine);
    EXPECT_LE(full.textEnd + ellipsis, 150.0);
    EXPECT_GT(full.textEnd, 150.0 - ellipsis - QFontMetricsF(font).maxWidth());

    // Not even one line fits: the first shows, cut by the area.
    EXPECT_FALSE(RichTextPreview::cutAtWholeLines(document, QSizeF(150, lineHeight / 2)).hasLastLine);

    // Empty paragraphs at the end are nothing left out; a document read only in part goes on.
    document.setPlainText(QStringLiteral("first line\nsecond line\n \n\n"));
    EXPECT_FALSE(RichTextPreview::cutAtWholeLines(document, QSizeF(150, lineHeight * 2.5)).truncated);
    const RichTextPreview::TailCut partial = RichTextPreview::cutAtWholeLines(document, QSizeF(150, 1000), true);
    EXPECT_TRUE(partial.truncated && partial.hasLastLine);
}
} // namespace
