// Reading RTF: text, character sets, destinations, formatting, and input built to break readers.
#include "capture/RtfReader.h"

#include "capture/RtfParser.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {
std::optional<QString> text(const QByteArray& rtf)
{
    return RtfReader::plainText(rtf);
}

// The character format at the first occurrence of `needle` in the document.
QTextCharFormat formatAt(QTextDocument& document, const QString& needle)
{
    const int position = document.toPlainText().indexOf(needle);
    EXPECT_GE(position, 0) << needle.toStdString();
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

const QByteArray cocoaSample = R"({\rtf1\ansi\ansicpg1252\cocoartf2709
{\fonttbl\f0\fswiss\fcharset0 Helvetica;\f1\froman\fcharset0 Times-Roman;}
{\colortbl;\red255\green255\blue255;\red200\green10\blue20;}
{\*\expandedcolortbl;;\csgenericrgb\c78431\c3922\c7843;}
\pard\tx560\pardirnatural\partightenfactor0
\f0\fs24 \cf0 Plain \b bold\b0  \i italic\i0  \ul under\ulnone  {\cf2 red} \strike gone\strike0\par
\f1\fs36 Big\line next\tab end}
)";
} // namespace

TEST(RtfReader, PlainTextOfATypicalDocument)
{
    EXPECT_EQ(text(cocoaSample), QStringLiteral("Plain bold italic under red gone\nBig\nnext\tend"));
    EXPECT_EQ(text("  \r\n{\\rtf1 hi}"), QStringLiteral("hi"));
    EXPECT_EQ(text("{\\rtf1 }"), QString());
}

TEST(RtfReader, RefusesWhatIsNotRtf)
{
    EXPECT_FALSE(text(""));
    EXPECT_FALSE(text("plain words"));
    EXPECT_FALSE(text("{\\rtx1 hi}"));
    EXPECT_FALSE(text("<html>{\\rtf1 hi}</html>"));
    EXPECT_EQ(RtfReader::toDocument(QByteArray("nope")), nullptr);
}

TEST(RtfReader, SpecialCharactersAndEscapes)
{
    EXPECT_EQ(text(R"({\rtf1 a\\b\{c\}d\~e\_f\-g\emdash\endash\bullet\lquote x\rquote\ldblquote y\rdblquote})"),
              QStringLiteral("a\\b{c}d\u00A0e\u2011fg\u2014\u2013\u2022\u2018x\u2019\u201Cy\u201D"));
    // A backslash before a line end is a paragraph; bare line ends are not text.
    EXPECT_EQ(text("{\\rtf1 one\\\ntwo\r\nthree}"), QStringLiteral("one\ntwothree"));
    // Control words end at a non-letter; one space after them is part of the word.
    EXPECT_EQ(text(R"({\rtf1 \b  two\b0 x\par3 y})"), QStringLiteral(" twox\ny"));
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallbacks)
{
    EXPECT_EQ(text(R"({\rtf1 \u8364?x})"), QStringLiteral("€x"));
    EXPECT_EQ(text(R"({\rtf1 \uc2\u8364\'80\'80x})"), QStringLiteral("€x"));
    EXPECT_EQ(text(R"({\rtf1 \uc0\u8364 x})"), QStringLiteral("€x"));
    EXPECT_EQ(text(R"({\rtf1 \u-3913?})"), QString(QChar(0xF0B7)));                    // negative: + 65536
    EXPECT_EQ(text(R"({\rtf1 \u55357?\u56832?})"), QString::fromUtf16(u"\U0001F600")); // surrogate pair
    EXPECT_EQ(text(R"({\rtf1 {\uc3 \u8364?}abc})"), QStringLiteral("€abc"));           // a brace ends skipping
    EXPECT_EQ(text(R"({\rtf1 \uc1 {\uc5 x}\u8364?y})"), QStringLiteral("x€y"));        // \uc is group-scoped
    EXPECT_EQ(text(R"({\rtf1 \u0?a\u99999999?b})"), QStringLiteral("ab"));             // nothing for nonsense
}

TEST(RtfReader, CodePagesDecideWhatBytesMean)
{
    EXPECT_EQ(text(R"({\rtf1\ansi caf\'e9 \'80})"), QStringLiteral("café €"));
    EXPECT_EQ(text(R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})"), QStringLiteral("При"));
    EXPECT_EQ(text(R"({\rtf1\mac caf\'8e})"), QStringLiteral("café"));
    // A font's charset overrides the document's; a double-byte character spans two escapes.
    EXPECT_EQ(text(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset128 MS Gothic;}}\f1 \'82\'a0\f0 \'e9})"),
              QStringLiteral("あé"));
    // The default font's charset applies to text without \f.
    EXPECT_EQ(text(R"({\rtf1\ansi\deff1{\fonttbl{\f1\fcharset204 Arial;}}\'cf})"), QStringLiteral("П"));
    // Raw high bytes are code-page bytes as well; an unknown code page reads as ANSI.
    EXPECT_EQ(text("{\\rtf1\\ansicpg77777 caf\xe9}"), QStringLiteral("café"));
}

TEST(RtfReader, SkipsTablesPicturesAndIgnorableDestinations)
{
    const QByteArray rtf = R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}{\stylesheet{\s1 Heading;}})"
                           R"({\info{\title Secret}{\author Me}}{\*\generator Tool;}{\*\unknownthing zzz {nested}})"
                           R"(A{\pict\pngblip 89504e47}B{\*\shppict{\pict abc}}{\nonshppict{\pict def}})"
                           R"(C{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}}D\bin3 {}}E})";
    EXPECT_EQ(text(rtf), QStringLiteral("ABClinkDE"));
}

TEST(RtfReader, GroupsRestoreFormatting)
{
    auto document = RtfReader::toDocument(cocoaSample);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->toPlainText(), QStringLiteral("Plain bold italic under red gone\nBig\nnext\tend"));
    EXPECT_EQ(document->blockCount(), 2); // the line break stays inside its paragraph

    const auto plain = formatAt(*document, QStringLiteral("Plain"));
    EXPECT_EQ(plain.fontFamilies().toStringList(), QStringList{QStringLiteral("Helvetica")});
    EXPECT_EQ(plain.fontPointSize(), 12);
    EXPECT_NE(plain.fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(*document, QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(*document, QStringLiteral("italic")).fontItalic());
    EXPECT_TRUE(formatAt(*document, QStringLiteral("under")).fontUnderline());
    EXPECT_TRUE(formatAt(*document, QStringLiteral("gone")).fontStrikeOut());
    EXPECT_EQ(formatAt(*document, QStringLiteral("red")).foreground().color(), QColor(200, 10, 20));
    // After the group closes the colour is automatic again (colour 0 of the table).
    EXPECT_FALSE(formatAt(*document, QStringLiteral("gone")).hasProperty(QTextFormat::ForegroundBrush));
    const auto big = formatAt(*document, QStringLiteral("Big"));
    EXPECT_EQ(big.fontFamilies().toStringList(), QStringList{QStringLiteral("Times-Roman")});
    EXPECT_EQ(big.fontPointSize(), 18);

    // \plain resets character formatting to the defaults.
    const auto reset = RtfParser::parse(R"({\rtf1 \b\i\fs40 x\plain y})");
    ASSERT_TRUE(reset);
    ASSERT_EQ(reset->runs.size(), 2);
    EXPECT_TRUE(reset->runs[0].style.bold);
    EXPECT_EQ(reset->runs[1].style, RtfStyle{});
}

TEST(RtfReader, HostileInputIsBounded)
{
    // Nesting deeper than the limit is refused, not followed.
    const int depth = RtfParser::maxGroupDepth + 1;
    EXPECT_FALSE(text("{\\rtf1 " + QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "}"));
    EXPECT_EQ(text("{\\rtf1 " + QByteArray(500, '{') + "x" + QByteArray(500, '}') + "}"), QStringLiteral("x"));

    // Unbalanced and truncated documents keep what they had; text after the document's group is not read.
    EXPECT_EQ(text("{\\rtf1 {\\b open"), QStringLiteral("open"));
    EXPECT_EQ(text("{\\rtf1 a}}}b{c"), QStringLiteral("a"));
    EXPECT_EQ(text("{\\rtf1 x\\"), QStringLiteral("x"));
    EXPECT_EQ(text("{\\rtf1 x\\'4"), QStringLiteral("x4")); // a broken escape is dropped, what follows is text
    EXPECT_EQ(text("{\\rtf1 x\\u"), QStringLiteral("x"));

    // Huge parameters are clamped; \bin cannot read past the end; skip counts cannot run away.
    EXPECT_EQ(text("{\\rtf1 \\fs99999999999999999999 a\\bin99999999999 }"), QStringLiteral("a"));
    EXPECT_EQ(text("{\\rtf1 \\uc2147483647\\u8364 abc}x"), QStringLiteral("€"));
    EXPECT_EQ(text("{\\rtf1 \\bin-5 a}"), QStringLiteral("a"));

    // A control word longer than any real one is ignored whole; NULs and control bytes are not text.
    EXPECT_EQ(text("{\\rtf1 \\" + QByteArray(100000, 'a') + " b\\'00c" + QByteArray(1, '\0') + "d}"),
              QStringLiteral("bcd"));

    EXPECT_FALSE(text("{\\rtf1 " + QByteArray(RtfParser::maxInputSize, ' ') + "}"));
}

TEST(RtfReader, FormattingChangesPastTheRunLimitKeepAllText)
{
    QByteArray rtf = "{\\rtf1 ";
    const int pairs = RtfParser::maxRuns; // twice as many style changes as runs allowed
    for (int i = 0; i < pairs; ++i) {
        rtf += "\\b a\\b0 b";
    }
    rtf += "}";
    const auto read = RtfParser::parse(rtf);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->runs.size(), RtfParser::maxRuns);
    EXPECT_EQ(read->text().size(), 2 * pairs);
}
