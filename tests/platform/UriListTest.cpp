// Reading copied file lists: the lines that count, and the limits past which a list is refused.
#include "platform/UriList.h"

#include <gtest/gtest.h>

TEST(UriList, ReadsTheListsFileManagersCopyWithinTheLimits)
{
    const UrlList list =
        UriList::parse("cut\r\n# a comment\r\n\r\nfile:///tmp/a%20b\r\n  file:///tmp/c  \nhttps://example.org/", true);
    EXPECT_FALSE(list.isOverLimit);
    EXPECT_EQ(list.urls, QList<QUrl>({QUrl("file:///tmp/a%20b"), QUrl("file:///tmp/c"), QUrl("https://example.org/")}));
    // Only a first line names the operation, and only in the list that has one.
    EXPECT_EQ(UriList::parse("copy\ncut", true).urls, QList<QUrl>{QUrl("cut")});
    EXPECT_EQ(UriList::parse("copy", false).urls, QList<QUrl>{QUrl("copy")});
    EXPECT_TRUE(UriList::parse({}, false).urls.isEmpty());

    // As many lines as an entry holds, and one more; as many bytes, and one more.
    QByteArray lines;
    for (int i = 0; i < UriList::maxEntries; ++i) {
        lines += "file:///f/" + QByteArray::number(i) + "\n# comments do not count\n";
    }
    EXPECT_EQ(UriList::parse(lines, false).urls.size(), UriList::maxEntries);
    const UrlList tooMany = UriList::parse(lines + "file:///one/more", false);
    EXPECT_TRUE(tooMany.isOverLimit);
    EXPECT_TRUE(tooMany.urls.isEmpty());
    const QByteArray longest = "file:///" + QByteArray(UriList::maxBytes - 8, 'x');
    EXPECT_EQ(UriList::parse(longest, false).urls.size(), 1);
    EXPECT_TRUE(UriList::parse(longest + "x", false).isOverLimit);
}
