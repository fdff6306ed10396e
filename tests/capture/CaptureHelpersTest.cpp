// Colour hex forms, thumbnails and grapheme counting.
#include "capture/ColorHex.h"
#include "capture/Graphemes.h"
#include "capture/ImageDecoding.h"
#include "capture/Thumbnail.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
QSize thumbnailSize(const QImage& image)
{
    const auto png = makeThumbnail(image);
    if (!png) {
        return {};
    }
    const auto decoded = ImageDecoding::decode(*png, "png");
    return decoded ? decoded->size() : QSize();
}
} // namespace

TEST(ColorHex, HexStringRoundsAndAddsAlphaOnlyWhenNeeded)
{
    EXPECT_EQ(hexString(QColor::fromRgbF(1, 0.5f, 0)), QStringLiteral("#FF8000"));
    EXPECT_EQ(hexString(QColor::fromRgbF(1, 0.5f, 0, 0.5f)), QStringLiteral("#FF800080"));
    EXPECT_EQ(hexString(QColor(1, 2, 3, 0)), QStringLiteral("#01020300"));
    EXPECT_EQ(hexString(QColor::fromHsv(0, 255, 255)), QStringLiteral("#FF0000"));
}

TEST(ColorHex, FromHexReadsSixOrEightDigits)
{
    const auto opaque = fromHex(QStringLiteral("#FF8000"));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->rgba(), QColor(255, 128, 0).rgba());
    EXPECT_EQ(fromHex(QStringLiteral("ff8000")), opaque);
    const auto translucent = fromHex(QStringLiteral("#FF800080"));
    ASSERT_TRUE(translucent);
    EXPECT_EQ(translucent->alpha(), 128);
    EXPECT_EQ(hexString(*translucent), QStringLiteral("#FF800080"));
    for (const char* bad : {"#FFF", "", "#", "##FF8000", "#GG8000", "#FF80001", "#FF8000 ", "-FF8000"}) {
        EXPECT_FALSE(fromHex(QString::fromLatin1(bad))) << bad;
    }
    // The number parser's sign counts toward the length: "+" and five digits is not six digits.
    EXPECT_EQ(fromHex(QStringLiteral("+FF80000"))->alpha(), 0);
    EXPECT_EQ(fromHex(QStringLiteral("-0000000"))->rgba(), 0u);
}

TEST(Thumbnail, ScalesDownToTheLimitButNeverUp)
{
    EXPECT_EQ(thumbnailSize(QImage(1200, 300, QImage::Format_RGB32)), QSize(600, 150));
    EXPECT_EQ(thumbnailSize(QImage(400, 300, QImage::Format_RGB32)), QSize(400, 300));
    EXPECT_EQ(thumbnailSize(QImage(301, 1001, QImage::Format_Indexed8)), QSize(180, 600)); // 180.4 rounds down
    EXPECT_EQ(thumbnailSize(QImage(3, 5000, QImage::Format_RGB32)), QSize());              // 0.36 pixel wide: none
    EXPECT_FALSE(makeThumbnail(QImage()));
    EXPECT_FALSE(makeThumbnail(QByteArray("not an image")));

    QImage red(10, 10, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0, 128));
    const auto fromBytes = makeThumbnail(encodedImage(red), 5);
    ASSERT_TRUE(fromBytes);
    const auto decoded = ImageDecoding::decode(*fromBytes, "png");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), QSize(5, 5));
    EXPECT_TRUE(decoded->hasAlphaChannel());
    EXPECT_EQ(decoded->pixelColor(2, 2).alpha(), 128);
}

TEST(Graphemes, CountsAndCutsWhatAReaderSeesAsOneCharacter)
{
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QString flag = QStringLiteral("\U0001F1E9\U0001F1EA");
    const QString accent = QStringLiteral("e\u0301");
    EXPECT_EQ(graphemeCount(QString()), 0);
    EXPECT_EQ(graphemeCount(QStringLiteral("abc")), 3);
    EXPECT_EQ(graphemeCount(family + flag + accent + QStringLiteral("\r\n")), 4);
    EXPECT_EQ(firstGraphemes(family + flag + accent, 2), family + flag);
    EXPECT_EQ(firstGraphemes(accent, 5), accent);
    EXPECT_EQ(firstGraphemes(accent, 0), QString());
}
