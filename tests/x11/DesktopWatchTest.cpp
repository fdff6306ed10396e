// The main thread's view of the X11 desktop: owner changes counted, copy keystrokes recognised
// in any layout, and the application in front named.
#include "ClipOwner.h"
#include "platform/x11/NetWmIcon.h"
#include "platform/x11/X11Applications.h"
#include "platform/x11/X11Clipboard.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11CopyKeystroke.h"
#include "platform/x11/X11KeyTap.h"
#include "platform/xdg/XdgDesktopServices.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// Lets events already on their way arrive, so that "nothing happened" means something.
void settle(int ms = 300)
{
    waitUntil([] { return false; }, ms);
}

xkb_keymap* keymapFor(xkb_context* context, const char* layouts, const char* variants = "")
{
    const xkb_rule_names names{"evdev", "pc105", layouts, variants, ""};
    return xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

// Asks the window manager to activate the window and waits until it says it did (_NET_ACTIVE_WINDOW
// follows the focus a little later than xdotool's own wait).
bool activate(Applications& applications, quint32 window)
{
    if (!runTool("xdotool", {"windowactivate", "--sync", QString::number(window)})) {
        return false;
    }
    return waitUntil(
        [&] {
            const auto front = applications.frontmostApplication();
            return front && front->window == window;
        },
        3000);
}

// X keycodes of the evdev keymap (evdev code + 8).
constexpr std::uint32_t controlL = 37, altL = 64, superL = 133, shiftL = 50;
constexpr std::uint32_t qwertyC = 54, qwertyX = 53, qwertyV = 55, qwertyI = 31;
} // namespace

TEST(X11Clipboard, CountsEveryOwnerChangeAndSaysSo)
{
    X11Clipboard clipboard;
    int changed = 0;
    QObject::connect(&clipboard, &Clipboard::changed, [&] { ++changed; });
    const qint64 start = clipboard.changeCount();
    {
        ClipOwner first({"--target", "UTF8_STRING=one"});
        ASSERT_TRUE(first.isReady());
        ASSERT_TRUE(waitUntil([&] { return clipboard.changeCount() == start + 1; }));
        ClipOwner second({"--target", "UTF8_STRING=two", "--stay"});
        ASSERT_TRUE(second.isReady());
        ASSERT_TRUE(waitUntil([&] { return clipboard.changeCount() == start + 2; }));
    }
    // The owner went away with its content: that empties the clipboard, a change too.
    ASSERT_TRUE(waitUntil([&] { return clipboard.changeCount() == start + 3; }));
    settle(100);
    EXPECT_EQ(clipboard.changeCount(), start + 3);
    EXPECT_EQ(changed, 3);
}

TEST(X11KeyTap, ReportsControlCAndControlXWithShiftButNotWithAltOrSuper)
{
    X11KeyTap tap;
    int copies = 0;
    ASSERT_TRUE(tap.install([&] { ++copies; }));
    EXPECT_TRUE(tap.isInstalled());
    const auto press = [](const char* keys) { ASSERT_TRUE(runTool("xdotool", {"key", keys})); };

    for (const char* keys : {"ctrl+c", "ctrl+x", "ctrl+shift+c", "Control_R+c"}) {
        const int before = copies;
        press(keys);
        EXPECT_TRUE(waitUntil([&] { return copies == before + 1; }, 2000)) << keys;
    }
    for (const char* keys : {"ctrl+alt+c", "super+ctrl+c", "ctrl+v", "c", "shift+x"}) {
        press(keys);
    }
    settle();
    EXPECT_EQ(copies, 4);

    tap.remove();
    press("ctrl+c");
    settle();
    EXPECT_EQ(copies, 4);
}

TEST(X11CopyKeystroke, FollowsTheLayoutAndTracksModifiersFromPressesAndReleases)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    ASSERT_TRUE(context);
    const auto layout0 = [] { return 0u; };
    const auto layout1 = [] { return 1u; };

    X11CopyKeystroke keys;
    xkb_keymap* dvorak = keymapFor(context, "us", "dvorak");
    ASSERT_TRUE(dvorak);
    keys.setKeymap(dvorak);
    xkb_keymap_unref(dvorak);
    keys.press(controlL, layout0);
    // Dvorak types "c" where QWERTY has "i", and "j" where QWERTY has "c".
    EXPECT_TRUE(keys.press(qwertyI, layout0));
    EXPECT_FALSE(keys.press(qwertyC, layout0));
    keys.release(controlL);
    EXPECT_FALSE(keys.press(qwertyI, layout0));

    // A Cyrillic layout: the key keeps the Latin letter it has in the other layout.
    xkb_keymap* russian = keymapFor(context, "ru,us");
    ASSERT_TRUE(russian);
    keys.setKeymap(russian);
    xkb_keymap_unref(russian);
    keys.press(controlL, layout0);
    EXPECT_TRUE(keys.press(qwertyC, layout0));
    EXPECT_TRUE(keys.press(qwertyX, layout1));
    EXPECT_FALSE(keys.press(qwertyV, layout0));

    // Shift is allowed; Alt and Super are not, and count while held.
    keys.press(shiftL, layout0);
    EXPECT_TRUE(keys.press(qwertyC, layout0));
    keys.press(altL, layout0);
    EXPECT_FALSE(keys.press(qwertyC, layout0));
    keys.release(altL);
    keys.press(superL, layout0);
    EXPECT_FALSE(keys.press(qwertyC, layout0));
    keys.release(superL);
    EXPECT_TRUE(keys.press(qwertyC, layout0));

    // A modifier held long enough to repeat is released once.
    keys.reset();
    keys.press(controlL, layout0);
    keys.press(controlL, layout0);
    keys.release(controlL);
    EXPECT_FALSE(keys.press(qwertyC, layout0));

    // Releases of keys never seen pressed are not counted against anything.
    keys.reset();
    keys.release(altL);
    keys.press(controlL, layout0);
    EXPECT_TRUE(keys.press(qwertyC, layout0));
    xkb_context_unref(context);
}

TEST(X11Applications, NamesTheActiveWindowsApplicationAndTheClipboardsOwner)
{
    QTemporaryDir data;
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QDir().mkpath(data.path() + QStringLiteral("/applications"));
    writeFileBytes(data.path() + QStringLiteral("/applications/org.example.Notes.desktop"),
                   "[Desktop Entry]\nType=Application\nName=Notes\nExec=notes\nStartupWMClass=NotesWindow\n");
    X11Applications applications;

    {
        ClipOwner notes({"--window", "--no-own", "--stay", "--wm-class", "notes,NotesWindow"});
        ASSERT_TRUE(notes.isReady());
        ASSERT_TRUE(activate(applications, notes.window()));
        const auto front = applications.frontmostApplication();
        ASSERT_TRUE(front);
        EXPECT_EQ(front->bundleID, QStringLiteral("org.example.Notes"));
        EXPECT_EQ(front->name, QStringLiteral("Notes"));
        EXPECT_EQ(front->window, notes.window());
        EXPECT_EQ(front->pid, notes.pid());
    }
    {
        ClipOwner gtk(
            {"--window", "--no-own", "--stay", "--wm-class", "gtkapp,GtkApp", "--gtk-app-id", "org.example.Gtk"});
        ASSERT_TRUE(gtk.isReady());
        ASSERT_TRUE(activate(applications, gtk.window()));
        const auto front = applications.frontmostApplication();
        ASSERT_TRUE(front);
        EXPECT_EQ(front->bundleID, QStringLiteral("org.example.Gtk"));
        EXPECT_EQ(front->name, QStringLiteral("GtkApp"));
    }
    {
        // A program without a desktop entry: its window's own icon stands for it.
        const QByteArray savedCacheHome = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", data.path().toLocal8Bit());
        ClipOwner loner({"--window", "--no-own", "--stay", "--wm-class", "loner,Loner"});
        ASSERT_TRUE(loner.isReady());
        QList<quint32> icon{2, 2};
        icon.append(QList<quint32>(4, 0xff00ff00));
        icon.append({64, 64});
        icon.append(QList<quint32>(64 * 64, 0xffff0000));
        xcb_connection_t* c = X11Connection::connection();
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, loner.window(), X11Connection::atom("_NET_WM_ICON"),
                            XCB_ATOM_CARDINAL, 32, icon.size(), icon.constData());
        xcb_flush(c);
        ASSERT_TRUE(activate(applications, loner.window()));
        EXPECT_EQ(applications.frontmostApplication()->bundleID, QStringLiteral("clipowner")) << "its program";
        const QImage shown = XdgDesktopServices().applicationIcon(QStringLiteral("clipowner")).pixmap(64).toImage();
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(shown.pixelColor(32, 32), QColor(Qt::red)) << "the 64-pixel icon, not the 2-pixel one";
        qputenv("XDG_CACHE_HOME", savedCacheHome);
    }
    {
        // The owner's window says nothing about itself; the server knows its process.
        ClipOwner owner({"--target", "UTF8_STRING=x"});
        ASSERT_TRUE(owner.isReady());
        const auto app = applications.clipboardOwner();
        ASSERT_TRUE(app);
        EXPECT_EQ(app->pid, owner.pid());
        EXPECT_EQ(app->bundleID, QStringLiteral("clipowner"));
    }
    qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST(NetWmIcon, PicksTheSmallestImageThatFitsAndStopsAtWhatDoesNotAddUp)
{
    const auto property = [](const QList<quint32>& values) {
        return QByteArray(reinterpret_cast<const char*>(values.constData()), values.size() * 4);
    };
    QList<quint32> values{1, 1, 0xff0000ff, 2, 1, 0xffffffff, 0xffffffff};
    EXPECT_EQ(NetWmIcon::bestImage(property(values), 64).size(), QSize(2, 1)) << "none fits: the largest";
    EXPECT_EQ(NetWmIcon::bestImage(property(values), 1).size(), QSize(1, 1)) << "the smallest that fits";
    EXPECT_EQ(NetWmIcon::bestImage(property(values), 1).pixelColor(0, 0), QColor(Qt::blue));
    // A claim larger than what follows, or absurdly large, ends the list: what came before stays.
    values.append({100000, 100000, 1});
    EXPECT_EQ(NetWmIcon::bestImage(property(values), 64).size(), QSize(2, 1));
    EXPECT_TRUE(NetWmIcon::bestImage(property({3, 3, 1, 2}), 1).isNull());
    EXPECT_TRUE(NetWmIcon::bestImage(QByteArray("xyz"), 1).isNull());
}
