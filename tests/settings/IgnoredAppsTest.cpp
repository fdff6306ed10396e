// The ignored applications without a window: ids from chosen desktop entries, names from the
// entries, and the folders the file dialog offers.
#include "settings/IgnoredApps.h"

#include "settings/AppSettings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {
class IgnoredAppsTest : public ::testing::Test
{
protected:
    FakeEnvironment env;
    AppSettings settings{env.platform.defaults, env.platform.loginItem, env.platform.log, [] {}};
    IgnoredApps apps{settings, &env.platform.desktop};
};

TEST_F(IgnoredAppsTest, ChosenDesktopEntryJoinsTheIgnoredApps)
{
    const QString applications = env.path() + QStringLiteral("/applications");
    QDir().mkpath(applications + QStringLiteral("/kde"));
    env.platform.desktop.folders = {applications};
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Kate\nExec=kate\n";
    ASSERT_TRUE(writeFileBytes(applications + QStringLiteral("/kde/org.kde.kate.desktop"), entry));
    ASSERT_TRUE(writeFileBytes(applications + QStringLiteral("/notes.txt"), entry));
    ASSERT_TRUE(writeFileBytes(applications + QStringLiteral("/broken.desktop"), "not an entry"));

    EXPECT_FALSE(apps.ignoreApplicationAt(applications + QStringLiteral("/notes.txt")));
    EXPECT_FALSE(apps.ignoreApplicationAt(applications + QStringLiteral("/broken.desktop")));
    EXPECT_FALSE(apps.ignoreApplicationAt(applications + QStringLiteral("/missing.desktop")));
    EXPECT_TRUE(settings.ignoredBundleIDs().isEmpty());
    EXPECT_EQ(env.platform.defaults.writeCount, 0);

    EXPECT_TRUE(apps.ignoreApplicationAt(applications + QStringLiteral("/kde/org.kde.kate.desktop")));
    EXPECT_EQ(settings.ignoredBundleIDs(), QSet<QString>{"kde-org.kde.kate"});
    // Choosing it again changes nothing but is stored again.
    apps.ignoreApplicationAt(applications + QStringLiteral("/kde/org.kde.kate.desktop"));
    EXPECT_EQ(settings.ignoredBundleIDs(), QSet<QString>{"kde-org.kde.kate"});
    EXPECT_EQ(env.platform.defaults.writeCount, 2);
}

TEST_F(IgnoredAppsTest, ListedByCodePointUnderTheirNamesAndRemovedOneByOne)
{
    env.platform.desktop.names.insert(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"));
    env.platform.desktop.names.insert(QStringLiteral("blank"), QStringLiteral("  "));
    settings.setIgnoredBundleIDs({"org.gnome.TextEditor", "com.example.Unknown", "Zed", "blank"});
    EXPECT_EQ(apps.ids(), (QStringList{"Zed", "blank", "com.example.Unknown", "org.gnome.TextEditor"}));
    EXPECT_EQ(apps.displayName(QStringLiteral("org.gnome.TextEditor")), QStringLiteral("Text Editor"));
    EXPECT_EQ(apps.displayName(QStringLiteral("com.example.Unknown")), QStringLiteral("com.example.Unknown"));
    EXPECT_EQ(apps.displayName(QStringLiteral("blank")), QStringLiteral("blank")) << "a blank name is no name";

    apps.remove(QStringLiteral("Zed"));
    apps.remove(QStringLiteral("never.there"));
    EXPECT_EQ(env.platform.defaults.values.value("stashwell.ignoredBundleIDs").toArray(),
              (QJsonArray{"blank", "com.example.Unknown", "org.gnome.TextEditor"}));
}

TEST_F(IgnoredAppsTest, TheSystemsApplicationsComeFirstAndTheDialogOffersOnlyFoldersThatExist)
{
    const QString mine = env.path() + QStringLiteral("/mine");
    QDir().mkpath(mine);
    env.platform.desktop.folders = {mine + QStringLiteral("/"), QStringLiteral("/usr/share/applications"), mine,
                                    env.path() + QStringLiteral("/gone")};
    EXPECT_EQ(apps.applicationFolders(),
              (QStringList{"/usr/share/applications", mine, env.path() + QStringLiteral("/gone")}));
    EXPECT_TRUE(apps.existingApplicationFolders().contains(mine));
    EXPECT_FALSE(apps.existingApplicationFolders().contains(env.path() + QStringLiteral("/gone")));

    const IgnoredApps withoutDesktop(settings, nullptr);
    EXPECT_EQ(withoutDesktop.applicationFolders(), QStringList{"/usr/share/applications"});
    EXPECT_EQ(withoutDesktop.displayName(QStringLiteral("x")), QStringLiteral("x"));
}
} // namespace
