// Desktop entries: localized names, escapes, hidden entries, and lookup by desktop-file id.
#include "platform/xdg/DesktopEntry.h"

#include "platform/xdg/XdgDesktopServices.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TEST(DesktopEntry, LocalizedValuesAndEscapes)
{
    const DesktopEntry entry = DesktopEntry::parse(
        "# comment\n[Other]\nName=Wrong\n[Desktop Entry]\nName=Text Editor\nName[de]=Texteditor\n"
        "Name[de_CH]=Texteditor CH\nName[sr@latin]=Uredjivac\nComment=Line\\none\\sand\\\\\nName=Duplicate\n"
        "[Desktop Action new]\nName=New Window\n");
    ASSERT_TRUE(entry.hasGroup());
    EXPECT_EQ(entry.value("Name"), QStringLiteral("Text Editor")) << "first occurrence, own group only";
    EXPECT_EQ(entry.value("Name", DesktopEntry::localesFor("de_DE.UTF-8")), QStringLiteral("Texteditor"));
    EXPECT_EQ(entry.value("Name", DesktopEntry::localesFor("de_CH.UTF-8")), QStringLiteral("Texteditor CH"));
    EXPECT_EQ(entry.value("Name", DesktopEntry::localesFor("sr_RS@latin")), QStringLiteral("Uredjivac"));
    EXPECT_EQ(entry.value("Name", DesktopEntry::localesFor("C")), QStringLiteral("Text Editor"));
    EXPECT_EQ(entry.value("Comment"), QStringLiteral("Line\none and\\"));
    EXPECT_FALSE(entry.value("Icon"));
    EXPECT_EQ(DesktopEntry::localesFor("sr_RS.UTF-8@latin"), (QStringList{"sr_RS@latin", "sr_RS", "sr@latin", "sr"}));
    EXPECT_FALSE(DesktopEntry::parse("Name=No group\n").hasGroup());
}

TEST(XdgDesktopServices, FindsEntriesByIdAcrossFoldersAndSubfolders)
{
    QTemporaryDir home;
    const QString apps = home.path() + QStringLiteral("/applications");
    QDir().mkpath(apps + QStringLiteral("/kde4"));
    writeFileBytes(apps + "/org.example.Editor.desktop",
                   "[Desktop Entry]\nType=Application\nName=Editor\nIcon=" + home.path().toUtf8() + "/icon.png\n");
    writeFileBytes(apps + "/kde4/dolphin.desktop", "[Desktop Entry]\nName=Dolphin\n");
    writeFileBytes(apps + "/gone.desktop", "[Desktop Entry]\nName=Gone\nHidden=true\n");
    writeFileBytes(apps + "/broken.desktop", "not an entry at all");
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    icon.save(home.path() + QStringLiteral("/icon.png"));

    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    XdgDesktopServices services;
    EXPECT_EQ(services.desktopEntryPath("org.example.Editor"), apps + "/org.example.Editor.desktop");
    EXPECT_EQ(services.applicationName("org.example.Editor"), QStringLiteral("Editor"));
    EXPECT_FALSE(services.applicationIcon("org.example.Editor").isNull()) << "absolute icon path";
    EXPECT_EQ(services.applicationName("kde4-dolphin"), QStringLiteral("Dolphin"));
    EXPECT_FALSE(services.desktopEntryPath("gone")) << "hidden entries are not installed applications";
    EXPECT_FALSE(services.desktopEntryPath("broken"));
    EXPECT_FALSE(services.desktopEntryPath("../applications/org.example.Editor"));
    EXPECT_FALSE(services.desktopEntryPath(""));
    EXPECT_TRUE(services.applicationIcon("not.installed").isNull());
    qunsetenv("XDG_DATA_HOME");
}
} // namespace
