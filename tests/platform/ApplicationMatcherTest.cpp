// Naming the application behind a window from its desktop entries, in the agreed order.
#include "platform/xdg/ApplicationMatcher.h"

#include "platform/xdg/DesktopEntryIndex.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {
class ApplicationMatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(user());
        QDir().mkpath(system() + QStringLiteral("/kde"));
        entry(system(), QStringLiteral("org.gnome.TextEditor"),
              "Name=Text Editor\nName[de]=Texteditor\nExec=gnome-text-editor %U\nStartupWMClass=Gnome-text-editor\n");
        entry(system(), QStringLiteral("firefox-esr"), "Name=Firefox ESR\nExec=/usr/lib/firefox-esr/firefox-esr %u\n");
        entry(system(), QStringLiteral("kde/konsole"), "Name=Konsole\nExec=konsole\n");
        entry(system(), QStringLiteral("wrapped-one"), "Name=One\nExec=env FOO=1 one\n");
        entry(system(), QStringLiteral("wrapped-two"), "Name=Two\nExec=env FOO=2 two\n");
        entry(system(), QStringLiteral("removed"), "Name=Removed by the user\nExec=removed\n");
        entry(user(), QStringLiteral("removed"), "Name=Removed\nHidden=true\n");
        entry(system(), QStringLiteral("not-an-app"), "Name=Link\n", "Link");
        // Programs that several entries run.
        entry(system(), QStringLiteral("org.xfce.mousepad-settings"),
              "Name=Mousepad Settings\nExec=mousepad --preferences\n");
        entry(system(), QStringLiteral("org.xfce.mousepad"), "Name=Mousepad\nExec=mousepad %U\n");
        entry(system(), QStringLiteral("a-safe-mode"), "Name=Viewer (safe mode)\nExec=viewer --safe-mode %F\n");
        entry(system(), QStringLiteral("image-viewer-hidden"), "Name=Viewer helper\nExec=viewer\nNoDisplay=true\n");
        entry(system(), QStringLiteral("image-viewer"), "Name=Viewer\nExec=viewer %F\n");
    }

    QString user() const { return m_dir.path() + QStringLiteral("/user/applications"); }
    QString system() const { return m_dir.path() + QStringLiteral("/system/applications"); }

    void entry(const QString& folder, const QString& id, const QByteArray& keys, const QByteArray& type = "Application")
    {
        writeFileBytes(folder + QLatin1Char('/') + id + QStringLiteral(".desktop"),
                       "# comment\n[Desktop Entry]\nType=" + type + "\n" + keys + "\n[Desktop Action new]\nName=New\n");
    }

    ApplicationIdentity identify(const WindowFacts& facts) { return ApplicationMatcher::identify(facts, index); }

    QTemporaryDir m_dir;
    DesktopEntryIndex index{[this] { return QStringList{user(), system()}; }, QStringLiteral("de_DE")};
};

WindowFacts facts(const QString& gtkId, const QString& instance, const QString& wmClass, const QString& exe = {})
{
    return WindowFacts{gtkId, instance, wmClass, exe};
}
} // namespace

TEST_F(ApplicationMatcherTest, FindsTheDesktopEntryInTheAgreedOrder)
{
    // The GTK application id is taken as it is, with or without an entry.
    auto app = identify(facts(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("x"), QStringLiteral("X")));
    EXPECT_EQ(app.bundleID, QStringLiteral("org.gnome.TextEditor"));
    EXPECT_EQ(app.name, QStringLiteral("Texteditor")); // localized
    app = identify(facts(QStringLiteral("org.example.NoEntry"), QStringLiteral("noentry"), QStringLiteral("NoEntry")));
    EXPECT_EQ(app.bundleID, QStringLiteral("org.example.NoEntry"));
    EXPECT_EQ(app.name, QStringLiteral("NoEntry"));

    // StartupWMClass, then the entry's id, ignoring case, by class or instance.
    app = identify(facts({}, QStringLiteral("gnome-text-editor"), QStringLiteral("Gnome-text-editor")));
    EXPECT_EQ(app.bundleID, QStringLiteral("org.gnome.TextEditor"));
    app = identify(facts({}, QStringLiteral("Navigator"), QStringLiteral("Firefox-esr")));
    EXPECT_EQ(app.bundleID, QStringLiteral("firefox-esr"));
    EXPECT_EQ(app.name, QStringLiteral("Firefox ESR"));
    app = identify(facts({}, QStringLiteral("kde-konsole"), QStringLiteral("Something")));
    EXPECT_EQ(app.bundleID, QStringLiteral("kde-konsole"));

    // The program's name: through an entry that runs it, else as it is.
    app = identify(facts({}, QStringLiteral("main"), QStringLiteral("Main"), QStringLiteral("gnome-text-editor")));
    EXPECT_EQ(app.bundleID, QStringLiteral("org.gnome.TextEditor"));
    app = identify(facts({}, QStringLiteral("main"), QStringLiteral("Main"), QStringLiteral("env")));
    EXPECT_EQ(app.bundleID, QStringLiteral("env")); // several entries run "env": none of them is meant
    EXPECT_EQ(app.name, QStringLiteral("Main"));
    // Several entries run the program: the one named after it, else one without extra arguments,
    // shown in menus.
    app = identify(facts({}, QStringLiteral("mousepad"), QStringLiteral("Mousepad"), QStringLiteral("mousepad")));
    EXPECT_EQ(app.bundleID, QStringLiteral("org.xfce.mousepad"));
    EXPECT_EQ(app.name, QStringLiteral("Mousepad"));
    app = identify(facts({}, QStringLiteral("main"), QStringLiteral("Main"), QStringLiteral("viewer")));
    EXPECT_EQ(app.bundleID, QStringLiteral("image-viewer"));

    // Nothing but the class.
    app = identify(facts({}, QStringLiteral("xterm"), QStringLiteral("XTerm")));
    EXPECT_EQ(app.bundleID, QStringLiteral("XTerm"));
    EXPECT_EQ(app.name, QStringLiteral("XTerm"));
    app = identify(facts({}, {}, {}));
    EXPECT_FALSE(app.bundleID);
    EXPECT_FALSE(app.name);
}

TEST_F(ApplicationMatcherTest, HiddenEntriesAndOtherTypesNameNothingAndChangesAreNoticed)
{
    EXPECT_FALSE(index.byId(QStringLiteral("removed")));
    EXPECT_FALSE(index.byId(QStringLiteral("not-an-app")));
    EXPECT_EQ(identify(facts({}, QStringLiteral("removed"), QStringLiteral("Removed"))).bundleID,
              QStringLiteral("Removed"));

    // Installing an application changes its folder; the next lookup sees it.
    QThread::msleep(20);
    entry(user(), QStringLiteral("org.example.New"), "Name=New App\nStartupWMClass=NewApp\n");
    const auto app = identify(facts({}, QStringLiteral("newapp"), QStringLiteral("NewApp")));
    EXPECT_EQ(app.bundleID, QStringLiteral("org.example.New"));
    EXPECT_EQ(app.name, QStringLiteral("New App"));
}
