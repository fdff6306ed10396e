// HTML fragments, tag patterns, rendering and the HTML-or-text decision.
#include "capture/HtmlHeuristics.h"

#include "capture/FolderFiles.h"
#include "capture/HtmlSimplifier.h"
#include "capture/OfflineTextDocument.h"
#include "capture/PasteboardClassifier.h"
#include "capture/WorkBudget.h"
#include "platform/PasteboardTypes.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QTextFrame>
#include <gtest/gtest.h>

using namespace HtmlHeuristics;

namespace {
const std::optional<QString> none;

std::optional<HtmlCapture> evaluate(const QByteArray& html, const std::optional<QString>& plain)
{
    FakeClipboard clipboard;
    PasteboardContent content;
    content.data = {{PasteboardType::htmlMime, html}};
    clipboard.setContent(content);
    return evaluateHTML(*clipboard.open(clipboard.lastChange(), {}), plain);
}
} // namespace

TEST(HtmlHeuristics, FragmentNeedsBothMarkersInOrder)
{
    EXPECT_EQ(fragment(QStringLiteral("<p><!--StartFragment--><b>x</b><!--EndFragment--></p>")),
              QStringLiteral("<b>x</b>"));
    const QString reversed = QStringLiteral("<!--EndFragment-->a<!--StartFragment-->");
    EXPECT_EQ(fragment(reversed), reversed);
    EXPECT_EQ(fragment(QStringLiteral("<!--StartFragment-->only")), QStringLiteral("<!--StartFragment-->only"));
    EXPECT_EQ(fragment(QStringLiteral("<!--StartFragment--><!--EndFragment-->")), QString());
    EXPECT_EQ(fragment(QStringLiteral("<!--startfragment-->a<!--EndFragment-->")).size(), 39); // case-sensitive
}

TEST(HtmlHeuristics, TagAndFormattingPatterns)
{
    EXPECT_TRUE(containsTag(QStringLiteral("x <SPAN class=a>")));
    EXPECT_TRUE(containsTag(QStringLiteral("< / p>")));
    EXPECT_TRUE(containsTag(QStringLiteral("<br/>")));
    EXPECT_FALSE(containsTag(QStringLiteral("a < 3 and c > d, a <")));
    EXPECT_TRUE(containsTag(QStringLiteral("a < b and c"))); // white space may follow "<"
    EXPECT_FALSE(containsTag(QStringLiteral("<1a> <-> <span")));

    EXPECT_TRUE(containsFormatting(QStringLiteral("<B>bold</B>")));
    EXPECT_TRUE(containsFormatting(QStringLiteral("< h3 >")));
    EXPECT_TRUE(containsFormatting(QStringLiteral("</td>")));
    EXPECT_FALSE(containsFormatting(QStringLiteral("<span><div><body><br>")));
    EXPECT_FALSE(containsFormatting(QStringLiteral("<bold> <image> <h7>"))); // word boundary after the name

    // A long run of spaces after "<" must not make the search crawl.
    const QString spaces = QStringLiteral("<") + QString(200000, QLatin1Char(' ')) + QStringLiteral("!");
    EXPECT_FALSE(containsTag(spaces));
    EXPECT_FALSE(containsFormatting(spaces));
}

TEST(HtmlHeuristics, ShouldCaptureAsHTMLDecisions)
{
    const auto hi = QStringLiteral("Hi");
    EXPECT_TRUE(shouldCaptureAsHTML(QStringLiteral("<b>Hi</b>"), hi, hi));
    EXPECT_FALSE(shouldCaptureAsHTML(QStringLiteral("<span>Hi</span>"), hi, hi));
    EXPECT_TRUE(shouldCaptureAsHTML(QStringLiteral("<span>Hi</span>"), hi, QStringLiteral("Hello")));
    EXPECT_FALSE(shouldCaptureAsHTML(QStringLiteral("<span>Hi\u00A0 there</span>"), QStringLiteral("Hi\u00A0 there"),
                                     QStringLiteral(" Hi there\n")));
    EXPECT_TRUE(shouldCaptureAsHTML(QStringLiteral("<span>Hi</span>"), hi, QString()));
    EXPECT_TRUE(shouldCaptureAsHTML(QStringLiteral("<span>Hi</span>"), QString(), hi));
    // Without any tag, only a lone HTML flavour that renders to something counts.
    EXPECT_FALSE(shouldCaptureAsHTML(QStringLiteral("< x"), hi, hi));
    EXPECT_TRUE(shouldCaptureAsHTML(QStringLiteral("< x"), hi, none));
    EXPECT_FALSE(shouldCaptureAsHTML(QStringLiteral("< x"), QString(), none));
    EXPECT_TRUE(shouldCaptureAsHTML(none, hi, none));
    EXPECT_FALSE(shouldCaptureAsHTML(none, hi, QString()));
}

TEST(HtmlHeuristics, HtmlToPlainRendersTheFragmentOnly)
{
    const QByteArray page = "<html><body>Header<!--StartFragment--><p>caf&eacute; <b>x</b></p>"
                            "<img src=\"a.png\"><!--EndFragment-->Footer</body></html>";
    EXPECT_EQ(htmlToPlain(page), QStringLiteral("café x"));
    EXPECT_EQ(htmlToPlain(QStringLiteral("<p>a</p><p>b</p>")), QStringLiteral("a\nb"));
    // UTF-16 HTML decodes before rendering.
    const QString wide = QStringLiteral("\uFEFF<i>w\u00FCrde</i>");
    EXPECT_EQ(htmlToPlain(QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2)),
              QStringLiteral("würde"));
    EXPECT_EQ(htmlToPlain(QByteArray()), none);
}

TEST(HtmlHeuristics, ConversionReadsOnlyTheFirst262144Units)
{
    const QByteArray head(conversionLimit - 1, 'a');
    // The cut falls inside the two-byte é: the partial character is dropped, not turned into U+FFFD.
    const auto bytesPlain = htmlToPlain(head + QByteArray("\xC3\xA9 tail"));
    ASSERT_TRUE(bytesPlain);
    EXPECT_EQ(bytesPlain->size(), conversionLimit - 1);
    EXPECT_FALSE(bytesPlain->contains(QChar(0xFFFD)));

    // For strings the limit counts characters as seen: an accent with its letter is one.
    QString decomposed;
    for (int i = 0; i < 4; ++i) {
        decomposed += QStringLiteral("e\u0301");
    }
    const auto stringPlain = htmlToPlain(QString(conversionLimit - 2, QLatin1Char('a')) + decomposed);
    ASSERT_TRUE(stringPlain);
    EXPECT_EQ(stringPlain->size(), conversionLimit - 2 + 4);
}

TEST(HtmlHeuristics, DocumentsLoadNoResources)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("secret.html"));
    ASSERT_TRUE(writeFileBytes(path, "<p>secret</p>"));
    OfflineTextDocument document;
    const QUrl url = QUrl::fromLocalFile(path);
    EXPECT_FALSE(document.resource(QTextDocument::ImageResource, url).isValid());
    EXPECT_FALSE(document.resource(QTextDocument::StyleSheetResource, url).isValid());
    document.setHtml(QStringLiteral("<img src=\"%1\">x").arg(url.toString()));
    EXPECT_EQ(document.plainTextWithoutObjects(), QStringLiteral("x"));
}

TEST(HtmlHeuristics, EvaluationPicksTextAndKeepsTheBytes)
{
    const QByteArray formatted = "<meta charset=utf-8><!--StartFragment--><b>Hi</b><!--EndFragment-->";
    const auto bold = evaluate(formatted, QStringLiteral("Hi"));
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->text, QStringLiteral("Hi"));
    EXPECT_EQ(bold->data, formatted);

    EXPECT_FALSE(evaluate("<span>Hi</span>", QStringLiteral("Hi")));
    // No plain flavour and HTML that renders to nothing: the source itself is the text.
    const auto empty = evaluate("<b></b>", none);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->text, QStringLiteral("<b></b>"));
    // With a plain flavour, it is the fallback.
    EXPECT_EQ(evaluate("<b> </b>", QStringLiteral("plain"))->text, QStringLiteral("plain"));
    EXPECT_FALSE(evaluate({}, QStringLiteral("x")));
}

TEST(HtmlHeuristics, HtmlIsSimplifiedBeforeRendering)
{
    using HtmlSimplifier::simplifyForImport;
    EXPECT_EQ(simplifyForImport(QStringLiteral("<b><I class=x>x</I>y</b>"), 1), QStringLiteral("<b>xy</b>"));
    // Pictures and style sheets go (the text has none of them); void elements and comments stay.
    EXPECT_EQ(simplifyForImport(QStringLiteral("<p>a<br><img src=x><!-- <div> --><style>p{}</style><br/>b"), 1),
              QStringLiteral("<p>a<br><!-- <div> --><br/>b"));
    // Lists become blocks; an item left open is closed by the next one and by the list's end.
    EXPECT_EQ(simplifyForImport(QStringLiteral("<UL type=x><li>a<li>b</ul></ol>c")),
              QStringLiteral("<div><div>a</div><div>b</div></div>c"));
    EXPECT_EQ(htmlToPlain(QStringLiteral("<ol><li>one<li>two<ul><li>inner</ul><li>three</ol>after")),
              QStringLiteral("one\ntwo\ninner\nthree\nafter"));
    // What the importer would add or close by itself is written out: a table around a stray cell,
    // the end of a cell when the next begins.
    EXPECT_EQ(simplifyForImport(QStringLiteral("<td>a<td align=right>b</tr>c")),
              QStringLiteral("<table><tr><td>a</td><td>b</td></tr>c"));
    // The importer makes the same text of the simplified markup as of the original.
    for (const char* html :
         {"<td>a<td>b</tr>c", "<table><tr><th>H<td>x y<tr><td><b>z</table>after", "x<dl><dt>a<dd>b</dl>",
          "<p>one<p>two<div>three</div>", "a<!-- c --> b", "<pre>  a\n  b</pre>", "<b>a</b> <i>b</i>",
          "<table><caption>c</caption><tbody><tr><td>1</td></tr></tbody></table>"}) {
        OfflineTextDocument original;
        original.setHtml(QString::fromUtf8(html));
        EXPECT_EQ(htmlToPlain(QString::fromUtf8(html)), original.plainTextWithoutObjects()) << html;
    }

    // Tags are read where the importer reads them: after white space, quoted, across lines; a quoted
    // value may hold ">"; a name spelt with a character reference is left out.
    for (const char* open : {"<div>", "< div>", "<\n\tDIV >", "<\"div\">", "<div title=\"a>b\">"}) {
        const QString deep =
            QString::fromLatin1(open).repeated(300) + QStringLiteral("x") + QStringLiteral("</div>").repeated(300);
        const QString limited = simplifyForImport(deep);
        EXPECT_EQ(limited.count(QStringLiteral("</div>")), HtmlSimplifier::maxDepth) << open;
        EXPECT_TRUE(limited.contains(QLatin1Char('x'))) << open;
    }
    EXPECT_EQ(simplifyForImport(QStringLiteral("<d&#105;v>x</d&#105;v>")), QStringLiteral("x"));
    // Found by fuzzing: a second pass changes nothing, and nothing placed in a table outside its cells
    // makes the importer nest tables past the limit.
    for (const QString& found : {QStringLiteral("<t>a</t>r><tr><trd<input>n>e</tr><<<d&#1>a<td>b"),
                                 QStringLiteral("<thead><td"), QStringLiteral("<u/d><caption><td><x"),
                                 QStringLiteral("<td><tbody><dl>") + QStringLiteral("<td><dt>").repeated(20)}) {
        const QString once = simplifyForImport(found, 4);
        EXPECT_EQ(simplifyForImport(once, 4), once);
        OfflineTextDocument document;
        document.setHtml(simplifyForImport(found));
        int tables = 0;
        for (QTextFrame* frame = document.rootFrame(); !frame->childFrames().isEmpty();
             frame = frame->childFrames().last()) {
            ++tables;
        }
        EXPECT_LE(tables, HtmlSimplifier::maxTableDepth);
    }
    // A fragment marker, in a comment or an attribute, cannot make the importer cut again.
    EXPECT_FALSE(simplifyForImport(QStringLiteral("<a title=\"<!--StartFragment-->\"><!--StartFragment-->x"))
                     .contains(QLatin1String("<!--StartFragment-->")));

    // Each of these took Qt's importer from seconds to hours; now they render at once, text intact.
    QByteArray styled = "<style>" + QByteArray("p{color:red}").repeated(5000) + "</style>";
    for (const QByteArray& hostile :
         {QByteArray("<ul><li>x").repeated(20000), QByteArray("<b>x").repeated(20000),
          "<ul>" + QByteArray("<li>x</li>").repeated(20000), QByteArray("<table><tr><td>x").repeated(10000),
          QByteArray("< div>x").repeated(20000), QByteArray("<img>x").repeated(20000),
          QByteArray("<td>x</tr>").repeated(10000), QByteArray("<caption><td>x").repeated(10000),
          QByteArray("<input>x").repeated(20000), styled + QByteArray("<p>x").repeated(20000)}) {
        const auto plain = htmlToPlain(hostile);
        ASSERT_TRUE(plain) << hostile.left(20).constData();
        EXPECT_EQ(plain->count(QLatin1Char('x')), hostile.count("x") - styled.count("x"))
            << hostile.left(20).constData();
    }
}

TEST(HtmlHeuristics, RenderingWithinAWorkBudget)
{
    // Sixty thousand cells: more than the importer does in a second or two.
    const QByteArray cells = QByteArray("<td>x").repeated(60000);
    EXPECT_FALSE(htmlToPlain(cells));
    WorkBudget budget;
    EXPECT_TRUE(htmlToPlain(QByteArray("<td>x").repeated(20000), &budget));
    EXPECT_FALSE(budget.isSpent());
    // One budget for all the renderings of a copy: what the first spent is gone for the second.
    EXPECT_FALSE(htmlToPlain(QByteArray("<td>x").repeated(20000), &budget));
    EXPECT_TRUE(budget.isSpent());

    // The copy is not recorded, with a reason, rather than recorded from its plain text.
    FakeClipboard clipboard;
    PasteboardContent content;
    content.data = {{PasteboardType::htmlMime, cells}, {PasteboardType::string, "x"}};
    clipboard.setContent(content);
    QTemporaryDir folder;
    FolderFiles files(folder.path());
    QString logLine;
    EXPECT_FALSE(PasteboardClassifier::readItem(*clipboard.open(clipboard.lastChange(), {}), {}, files, &logLine));
    EXPECT_EQ(logLine, QStringLiteral("Stashwell: a copy was not recorded: its HTML is too complex to read (too many "
                                      "elements, nested too deeply)"));
    EXPECT_TRUE(files.names().isEmpty());
}
