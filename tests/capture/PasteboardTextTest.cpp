// Decoding clipboard bytes: encoding candidates, cleaning, and the choice among plain-text flavours.
#include "capture/PasteboardText.h"

#include "platform/PasteboardTypes.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

using namespace PasteboardText;
using E = TextEncoding;

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values) {
        result.append(static_cast<char>(v));
    }
    return result;
}

QByteArray utf16LE(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

std::optional<QString> plainTextOf(const PasteboardContent& content)
{
    FakeClipboard clipboard;
    clipboard.setContent(content);
    return bestPlainText(*clipboard.open(clipboard.lastChange(), {}));
}
} // namespace

TEST(PasteboardText, CandidateEncodingsPutDetectedOnesFirstWithoutDuplicates)
{
    const QList<E> fallbacks{E::utf8, E::utf16, E::utf16LE, E::utf16BE, E::macOSRoman, E::isoLatin1};
    EXPECT_EQ(candidateEncodings("0123456789abcdef"), fallbacks);
    EXPECT_EQ(candidateEncodings({}), fallbacks);
    EXPECT_EQ(candidateEncodings(bytes({0x68, 0, 0x69, 0})),
              (QList<E>{E::utf16LE, E::utf8, E::utf16, E::utf16BE, E::macOSRoman, E::isoLatin1}));
    EXPECT_EQ(candidateEncodings(bytes({0, 0x68, 0, 0x69})),
              (QList<E>{E::utf16BE, E::utf8, E::utf16, E::utf16LE, E::macOSRoman, E::isoLatin1}));
    EXPECT_EQ(candidateEncodings(bytes({0xEF, 0xBB, 0xBF, 'a'})), fallbacks);
    EXPECT_EQ(candidateEncodings(bytes({0xFE, 0xFF, 0, 'a'})).first(), E::utf16BE);
    // Three bytes are too few for the zero-byte test; one zero of each parity is too few below 16.
    EXPECT_EQ(candidateEncodings(bytes({'a', 0, 'b'})), fallbacks);
    EXPECT_EQ(candidateEncodings(bytes({'a', 0, 0, 'b'})), fallbacks);
    // From 16 bytes on, the threshold is an eighth of the sample, and a zero on the other side vetoes.
    QByteArray sixteen = utf16LE(QStringLiteral("abcdefgh"));
    EXPECT_EQ(candidateEncodings(sixteen).first(), E::utf16LE);
    sixteen[2] = '\0';
    EXPECT_EQ(candidateEncodings(sixteen), fallbacks);
    QByteArray mostlyAscii = QByteArray(14, 'x') + bytes({0, 'y'}) + QByteArray(80, 'z');
    EXPECT_EQ(candidateEncodings(mostlyAscii), fallbacks); // 1 zero < 96 / 8
}

TEST(PasteboardText, CleanDecodedStringTrimsOnlyMarksAndNuls)
{
    const QString bom(QChar(0xFEFF));
    const QString nul(QChar(0));
    EXPECT_EQ(cleanDecodedString(bom + nul + QStringLiteral(" a b ") + nul + bom), QStringLiteral(" a b "));
    EXPECT_FALSE(cleanDecodedString(bom + nul + bom));
    EXPECT_FALSE(cleanDecodedString({}));
    EXPECT_FALSE(cleanDecodedString(QStringLiteral("a") + nul + QStringLiteral("b")));
    EXPECT_EQ(cleanDecodedString(QStringLiteral("a") + bom + QStringLiteral("b"))->size(), 3);
}

TEST(PasteboardText, DecodedStringTriesCandidatesUntilOneIsClean)
{
    EXPECT_FALSE(decodedString({}));
    EXPECT_EQ(decodedString("plain"), QStringLiteral("plain"));
    EXPECT_EQ(decodedString(bytes({0xEF, 0xBB, 0xBF, 'h', 'i'})), QStringLiteral("hi"));
    EXPECT_EQ(decodedString(bytes({0xFF, 0xFE}) + utf16LE(QStringLiteral("héllo"))), QStringLiteral("héllo"));
    // Invalid UTF-8, odd length: Mac OS Roman reads it (0x8E is é there).
    EXPECT_EQ(decodedString(bytes({'c', 'a', 'f', 0x8E, '!'})), QStringLiteral("café!"));
    // UTF-8 with an embedded NUL is rejected and the next candidate, UTF-16 (big-endian), is taken.
    EXPECT_EQ(decodedString(bytes({'a', 'b', 0, 'c', 'd', 'e'})), QString::fromUtf16(u"\u6162\u0063\u6465"));
    // A NUL that no encoding can hide leaves nothing.
    EXPECT_FALSE(decodedString(bytes({'a', 0, 'b'})));
    // Unpaired surrogates are not UTF-16.
    EXPECT_EQ(decodeStrictly(bytes({0x00, 0xD8, 'a', 0}), E::utf16LE), std::nullopt);
    EXPECT_EQ(decodeStrictly(bytes({'a'}), E::utf16), std::nullopt);
    EXPECT_EQ(decodeStrictly(bytes({0xFE, 0xFF, 0, 'a'}), E::utf16), QStringLiteral("a"));
}

TEST(PasteboardText, BestPlainTextPrefersEarlierTypesAndKeepsWhiteSpace)
{
    PasteboardContent content;
    content.data = {{QStringLiteral("public.plain-text"), "later"}, {PasteboardType::string, "  first \n"}};
    EXPECT_EQ(plainTextOf(content), QStringLiteral("  first \n"));

    // An unusable flavour (not UTF-8, and a NUL in every other reading) is passed over for the next one.
    content.data = {{PasteboardType::string, bytes({0xFF, 0, 'b'})},
                    {PasteboardType::utf16PlainText, bytes({0xFF, 0xFE}) + utf16LE(QStringLiteral("wide"))}};
    EXPECT_EQ(plainTextOf(content), QStringLiteral("wide"));

    // Invalid UTF-8 under the UTF-8 type still reads, through the candidate encodings (Mac OS Roman
    // before ISO 8859-1, so Latin-1 é reads as È).
    content.data = {{PasteboardType::string, bytes({'c', 'a', 'f', 0xE9, '!'})}};
    EXPECT_EQ(plainTextOf(content), QStringLiteral("cafÈ!"));

    content.data = {{PasteboardType::string, {}}, {QStringLiteral("public.html"), "<b>x</b>"}};
    EXPECT_FALSE(plainTextOf(content));
}

TEST(PasteboardText, DisplayTextAndComparableText)
{
    const std::optional<QString> none;
    EXPECT_EQ(displayText(QStringLiteral(" a "), QStringLiteral("x")), QStringLiteral(" a "));
    EXPECT_EQ(displayText(QStringLiteral("  "), QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(displayText(QStringLiteral("  "), QString()), QStringLiteral("  "));
    EXPECT_EQ(displayText(none, QStringLiteral(" ")), QStringLiteral(" "));
    EXPECT_EQ(displayText(none, none), none);

    EXPECT_EQ(comparableText(QStringLiteral("a\u00A0 b\n\nc ")), QStringLiteral("a b c"));
    EXPECT_EQ(comparableText(QStringLiteral("\t Ab\u2028cD \r\n")), QStringLiteral("Ab cD"));
    EXPECT_EQ(comparableText(QStringLiteral("   ")), QString());
    // The comparison without building the texts agrees with comparing them built.
    const QStringList texts = {"", "   ", "a", " a", "a ", "a b", "a\u00A0\n b", "ab", "a  bc", "a b c", "A b"};
    for (const QString& a : texts) {
        for (const QString& b : texts) {
            EXPECT_EQ(haveSameComparableText(a, b), comparableText(a) == comparableText(b))
                << a.toStdString() << " | " << b.toStdString();
        }
    }
}
