// The flat RTFD container: finding TXT.rtf, and refusing every inconsistent length.
#include "capture/RtfdReader.h"

#include <QTextDocument>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
QByteArray word(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray flatRtfd(const QList<std::pair<QByteArray, QByteArray>>& entries, quint32 version = 3)
{
    QByteArray out = "rtfd" + word(0) + word(version) + word(static_cast<quint32>(entries.size()));
    for (const auto& [name, data] : entries) {
        out += word(static_cast<quint32>(name.size())) + name;
    }
    for (const auto& [name, data] : entries) {
        out += word(static_cast<quint32>(data.size()));
    }
    for (const auto& [name, data] : entries) {
        out += data;
    }
    return out;
}

const QByteArray rtf = "{\\rtf1\\ansi {\\b Bold} text\\par}";
} // namespace

TEST(RtfdReader, FindsTheTextAmongTheAttachments)
{
    const QByteArray flat = flatRtfd({{".", ""}, {"image.png", "\x89PNG data"}, {"TXT.rtf", rtf}});
    const auto entries = RtfdReader::entries(flat);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3);
    EXPECT_EQ((*entries)[1].name, "image.png");
    EXPECT_EQ((*entries)[1].data, "\x89PNG data");
    EXPECT_EQ(RtfdReader::rtfText(flat), rtf);
    EXPECT_EQ(RtfdReader::plainText(flat), QStringLiteral("Bold text\n"));
    const auto document = RtfdReader::toDocument(flat);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->toPlainText().trimmed(), QStringLiteral("Bold text"));

    // A NUL-terminated name still counts; trailing bytes after the last entry are tolerated.
    EXPECT_EQ(RtfdReader::plainText(flatRtfd({{QByteArray("TXT.rtf\0", 8), rtf}}) + "pad"),
              QStringLiteral("Bold text\n"));
}

TEST(RtfdReader, RefusesAnythingThatDoesNotAddUp)
{
    const QByteArray good = flatRtfd({{"TXT.rtf", rtf}, {"a.tiff", "1234"}});
    // Every cut short of the last data byte breaks some length.
    const qsizetype needed = good.size();
    for (qsizetype length = 0; length < needed; ++length) {
        EXPECT_FALSE(RtfdReader::entries(good.left(length))) << length;
    }
    EXPECT_FALSE(RtfdReader::entries(flatRtfd({{"TXT.rtf", rtf}}, 2)));
    QByteArray badMagic = good;
    badMagic[0] = 'R';
    EXPECT_FALSE(RtfdReader::entries(badMagic));
    QByteArray nonZero = good;
    nonZero[4] = 1;
    EXPECT_FALSE(RtfdReader::entries(nonZero));
    // A count no input could hold is refused before anything is sized by it.
    EXPECT_FALSE(RtfdReader::entries("rtfd" + word(0) + word(3) + word(0xFFFFFFFF) + QByteArray(64, '\0')));
    // A name length past the end, and a data length past the end.
    EXPECT_FALSE(RtfdReader::entries("rtfd" + word(0) + word(3) + word(1) + word(0xFFFFFFF0) + "TXT.rtf"));
    EXPECT_FALSE(RtfdReader::entries("rtfd" + word(0) + word(3) + word(1) + word(7) + "TXT.rtf" + word(0x7FFFFFFF)));
    // Consistent, but without TXT.rtf, or with a TXT.rtf that is not RTF.
    EXPECT_TRUE(RtfdReader::entries(flatRtfd({{"other.rtf", rtf}})));
    EXPECT_FALSE(RtfdReader::plainText(flatRtfd({{"other.rtf", rtf}})));
    EXPECT_FALSE(RtfdReader::plainText(flatRtfd({{"TXT.rtf", "plain"}})));
    EXPECT_EQ(RtfdReader::toDocument(QByteArray("rtfd")), nullptr);
}
