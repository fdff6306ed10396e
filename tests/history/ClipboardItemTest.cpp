#include "history/ClipboardItem.h"

#include <gtest/gtest.h>

TEST(ClipboardItem, Sha256PrefixKeepsTwelveBytes)
{
    EXPECT_EQ(sha256Prefix("abc"), QStringLiteral("ba7816bf8f01cfea414140de"));
    EXPECT_EQ(sha256Prefix(QByteArray()), QStringLiteral("e3b0c44298fc1c149afbf4c8"));
}
