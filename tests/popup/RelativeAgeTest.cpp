// "2 minutes ago" in full units, the largest unit that differs.
#include "popup/RelativeAge.h"

#include <gtest/gtest.h>

namespace {
TEST(RelativeAge, PicksTheLargestUnitThatDiffers)
{
    const RelativeAge age(QStringLiteral("en_US"));
    const QDateTime now = QDateTime(QDate(2026, 3, 15), QTime(12, 0, 0), Qt::UTC);
    EXPECT_EQ(age.format(now, now), QStringLiteral("in 0 seconds"));
    EXPECT_EQ(age.format(now.addMSecs(-400), now), QStringLiteral("0 seconds ago")) << "not \"in 0 seconds\"";
    EXPECT_EQ(age.format(now.addSecs(-1), now), QStringLiteral("1 second ago"));
    EXPECT_EQ(age.format(now.addSecs(-45), now), QStringLiteral("45 seconds ago"));
    EXPECT_EQ(age.format(now.addSecs(-90), now), QStringLiteral("1 minute ago"));
    EXPECT_EQ(age.format(now.addSecs(-125), now), QStringLiteral("2 minutes ago"));
    EXPECT_EQ(age.format(now.addSecs(-3 * 3600 - 59), now), QStringLiteral("3 hours ago"));
    EXPECT_EQ(age.format(now.addDays(-1), now), QStringLiteral("1 day ago"));
    EXPECT_EQ(age.format(now.addDays(-10), now), QStringLiteral("1 week ago"));
    EXPECT_EQ(age.format(now.addMonths(-2).addDays(-3), now), QStringLiteral("2 months ago"));
    EXPECT_EQ(age.format(now.addYears(-3), now), QStringLiteral("3 years ago"));
    EXPECT_EQ(age.format(now.addSecs(300), now), QStringLiteral("in 5 minutes")) << "a clock set back";
}

TEST(RelativeAge, SpeaksTheGivenLanguage)
{
    const QDateTime now = QDateTime(QDate(2026, 3, 15), QTime(12, 0, 0), Qt::UTC);
    EXPECT_EQ(RelativeAge(QStringLiteral("de_DE")).format(now.addSecs(-120), now), QStringLiteral("vor 2 Minuten"));
    EXPECT_EQ(RelativeAge(QStringLiteral("en_US")).format(QDateTime(), now), QString()) << "invalid date";
}
} // namespace
