// The settings window's values: item counts, percentages, versions, slider steps, desktop-entry ids.
#include "settings/DesktopEntryId.h"
#include "settings/SettingsText.h"
#include "settings/SliderScale.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

TEST(SettingsText, HeightPercentTruncatesWithoutBinaryNoise)
{
    // 0.29 × 100 is 28.999999999999996 in binary arithmetic.
    EXPECT_EQ(SettingsText::heightPercent(0.29), QStringLiteral("29%"));
    EXPECT_EQ(SettingsText::heightPercent(0.57), QStringLiteral("57%"));
    EXPECT_EQ(SettingsText::heightPercent(0.3299999), QStringLiteral("32%"));
    EXPECT_EQ(SettingsText::heightPercent(3.0), QStringLiteral("300%"));
    EXPECT_EQ(SettingsText::heightPercent(-0.001), QStringLiteral("0%"));
    EXPECT_FALSE(SettingsText::heightPercent(1e300).isEmpty());
}

TEST(SliderScale, CapPositionsStepsAndEnds)
{
    const SliderScale& cap = SliderScale::maxHistoryItems;
    EXPECT_EQ(cap.positionFor(212), 6); // between steps: the nearest
    EXPECT_EQ(cap.positionFor(5), 0);
    EXPECT_EQ(cap.positionFor(100000), 38);
    EXPECT_EQ(cap.positionFor(-1e18), 0);
    EXPECT_EQ(cap.valueAt(6), 200);
    EXPECT_EQ(cap.valueAt(99), 1000);

    EXPECT_EQ(SliderScale::maxHistoryItemsFor(200.0), 200);
    EXPECT_EQ(SliderScale::maxHistoryItemsFor(212.9), 212);
    EXPECT_EQ(SliderScale::maxHistoryItemsFor(-7.9), -7);
    EXPECT_EQ(SliderScale::maxHistoryItemsFor(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(SliderScale::maxHistoryItemsFor(9223372036854775808.0), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(SliderScale::maxHistoryItemsFor(-1e300), std::numeric_limits<std::int64_t>::min());
}

TEST(SliderScale, HeightPositionsAreCleanDecimals)
{
    const SliderScale& height = SliderScale::popupHeightFraction;
    EXPECT_EQ(height.positionFor(0.0), 0);
    for (int position = 0; position <= 30; ++position) {
        EXPECT_EQ(height.valueAt(position), (20 + position) / 100.0) << position;
        EXPECT_EQ(height.positionFor(height.valueAt(position)), position);
    }
}

TEST(DesktopEntryId, IdsFollowTheFolderLayout)
{
    QTemporaryDir root;
    const QString applications = root.path() + QStringLiteral("/share/applications");
    QDir().mkpath(applications + QStringLiteral("/kde/sub"));
    const QByteArray entry = "# comment\n\n[Desktop Entry]\nName=X\nType=Application\n[Desktop Action new]\nName=Y\n";
    const auto write = [&](const QString& relative) {
        writeFileBytes(applications + QLatin1Char('/') + relative, entry);
        return applications + QLatin1Char('/') + relative;
    };

    EXPECT_EQ(DesktopEntryId::forFile(write("org.gnome.TextEditor.desktop"), {applications}),
              QStringLiteral("org.gnome.TextEditor"));
    EXPECT_EQ(DesktopEntryId::forFile(write("kde/sub/org.kde.kate.desktop"), {"/nowhere", applications + "/"}),
              QStringLiteral("kde-sub-org.kde.kate"));
    // Outside every applications folder the file name is all there is.
    EXPECT_EQ(DesktopEntryId::forFile(write("kde/sub/org.kde.kate.desktop"), {}), QStringLiteral("org.kde.kate"));
    // Through a link to the folder.
    const QString link = root.path() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(applications, link));
    EXPECT_EQ(DesktopEntryId::forFile(link + QStringLiteral("/kde/sub/org.kde.kate.desktop"), {applications}),
              QStringLiteral("kde-sub-org.kde.kate"));

    EXPECT_EQ(DesktopEntryId::forFile(write(".desktop"), {applications}), std::nullopt);
    EXPECT_EQ(DesktopEntryId::forFile(write("App.Desktop"), {applications}), std::nullopt);
    EXPECT_EQ(DesktopEntryId::forFile(write("tab\tname.desktop"), {applications}), std::nullopt);
    EXPECT_EQ(DesktopEntryId::forFile(applications + QStringLiteral("/absent.desktop"), {applications}), std::nullopt);
    EXPECT_EQ(DesktopEntryId::forFile(applications + QStringLiteral("/kde"), {applications}), std::nullopt);
}

TEST(DesktopEntryId, OnlyApplicationEntriesCount)
{
    EXPECT_TRUE(DesktopEntryId::isApplicationEntry("[Desktop Entry]\r\nType = Application\r\n"));
    EXPECT_FALSE(DesktopEntryId::isApplicationEntry("[Desktop Entry]\nType=Link\nURL=https://example.org\n"));
    EXPECT_FALSE(DesktopEntryId::isApplicationEntry("[Desktop Entry]\nName=No type\n[Other]\nType=Application\n"));
    EXPECT_FALSE(DesktopEntryId::isApplicationEntry("[Other]\n[Desktop Entry]\nType=Application\n"));
    EXPECT_FALSE(DesktopEntryId::isApplicationEntry("Type=Application\n[Desktop Entry]\n"));
    EXPECT_FALSE(DesktopEntryId::isApplicationEntry(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)));
    EXPECT_FALSE(DesktopEntryId::isApplicationEntry(""));
}
