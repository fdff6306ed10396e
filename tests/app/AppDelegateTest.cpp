// The tray icon's clicks and menu, and the shell's process plumbing (lock, signals).
#include "app/AppDelegate.h"

#include "app/DisplayLoss.h"
#include "app/InstanceLock.h"
#include "app/UnixSignals.h"
#include "history/ClipboardStore.h"
#include "settings/AppSettings.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {
using Click = AppDelegate::ClickAction;

class AppDelegateTest : public ::testing::Test
{
protected:
    AppDelegateTest()
        : settings(env.platform.defaults, env.platform.loginItem, env.platform.log, nullptr),
          store(env.historyFolder(), env.platform.scheduler, [this] { return settings.maxHistoryItems(); }),
          delegate(settings, store)
    {}

    FakeEnvironment env;
    AppSettings settings;
    ClipboardStore store;
    AppDelegate delegate;
};
} // namespace

TEST(AppDelegateClicks, LeftClickTogglesRightOrControlClickOpensTheMenu)
{
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::Trigger, Qt::NoModifier), Click::TogglePopup);
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::Trigger, Qt::ShiftModifier | Qt::AltModifier),
              Click::TogglePopup);
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::Trigger, Qt::MetaModifier), Click::TogglePopup);
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::Trigger, Qt::ControlModifier | Qt::ShiftModifier),
              Click::OpenMenu);
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::DoubleClick, Qt::ControlModifier), Click::OpenMenu)
        << "a Control+click soon after another click";
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::Context, Qt::NoModifier), Click::OpenMenu);
    // No event to look at: toggle.
    EXPECT_EQ(AppDelegate::actionForActivation(QSystemTrayIcon::Unknown, Qt::NoModifier), Click::TogglePopup);
}

TEST_F(AppDelegateTest, MenuHasSixEntriesAndShowsTheCurrentShortcut)
{
    auto menu = delegate.buildMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Show Clipboard (Super+Shift+V)"));
    EXPECT_TRUE(actions[0]->shortcut().isEmpty());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), QStringLiteral("Settings\u2026"));
    EXPECT_EQ(actions[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(actions[3]->text(), QStringLiteral("Clear History"));
    EXPECT_TRUE(actions[3]->shortcut().isEmpty());
    EXPECT_TRUE(actions[4]->isSeparator());
    EXPECT_EQ(actions[5]->text(), QStringLiteral("Quit Stashwell"));
    EXPECT_EQ(actions[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // Built anew each time: a changed shortcut shows in the next menu.
    settings.setHotkeyShortcut(HotkeyShortcut{49, HotkeyShortcut::controlKey | HotkeyShortcut::optionKey, "Space"});
    EXPECT_EQ(delegate.buildMenu()->actions().first()->text(), QStringLiteral("Show Clipboard (Ctrl+Alt+Space)"));
    // A label that Qt would read as a mnemonic marker is shown as it is.
    settings.setHotkeyShortcut(HotkeyShortcut{10, HotkeyShortcut::commandKey, "&"});
    EXPECT_EQ(delegate.buildMenu()->actions().first()->text(), QStringLiteral("Show Clipboard (Super+&&)"));
}

TEST_F(AppDelegateTest, ClearHistoryClearsUnpinnedEntriesAtOnce)
{
    for (const char* text : {"pinned", "a", "b"}) {
        store.add(textItem(QString::fromLatin1(text)));
    }
    store.togglePin(store.items()[2]);
    auto menu = delegate.buildMenu();
    menu->actions()[3]->trigger();
    ASSERT_EQ(store.items().size(), 1);
    EXPECT_EQ(store.items().first().text, QStringLiteral("pinned"));
    EXPECT_TRUE(store.items().first().isPinned);
}

TEST(InstanceLock, OnlyOneHolderAtATime)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stashwell.lock"));
    writeFileBytes(path, QByteArray());
    ::chmod(QFile::encodeName(path).constData(), 0644);
    {
        InstanceLock first(path);
        ASSERT_TRUE(first.tryLock());
        EXPECT_EQ(fileMode(path), 0600u);

        InstanceLock second(path);
        EXPECT_FALSE(second.tryLock());
        EXPECT_TRUE(second.error().isEmpty()); // held by another: not an error
    }
    InstanceLock third(path);
    EXPECT_TRUE(third.tryLock());

    InstanceLock nowhere(dir.filePath(QStringLiteral("missing/stashwell.lock")));
    EXPECT_FALSE(nowhere.tryLock());
    EXPECT_FALSE(nowhere.error().isEmpty());
}

TEST(UnixSignals, SessionSignalsArriveThroughTheEventLoopAndLeaveErrnoAlone)
{
    UnixSignals signals_;
    QList<int> received;
    QObject::connect(&signals_, &UnixSignals::terminationRequested,
                     [&received](int number) { received.append(number); });
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(::raise(number), 0);
    }
    EXPECT_TRUE(received.isEmpty()); // never from inside the handler
    ASSERT_TRUE(waitUntil([&received] { return received.size() == 3; }));
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGHUP}));

    // Once the socket is full the handler's write fails; the interrupted code still sees its errno.
    int seen = EDOM;
    for (int n = 0; n < 20000 && seen == EDOM; ++n) {
        errno = EDOM;
        ::raise(SIGHUP);
        seen = errno;
    }
    EXPECT_EQ(seen, EDOM);
}

TEST(DisplayLoss, QtsWordThatTheConnectionBrokeRunsTheSequenceOnceAndOnlyOnTheMainThread)
{
    int runs = 0;
    {
        DisplayLoss loss([&runs] { ++runs; });
        qWarning("QXcbConnection: XCB error: 3 (BadWindow)");
        // Elsewhere the main thread's state may be half changed.
        std::thread([] { qWarning("The X11 connection broke (error 1). Did the X11 server die?"); }).join();
        EXPECT_EQ(runs, 0);
        qWarning("The X11 connection broke (error 1). Did the X11 server die?");
        qWarning("The X11 connection broke: I/O error (code 1)");
        EXPECT_EQ(runs, 1);
    }
    qWarning("The X11 connection broke (error 1). Did the X11 server die?");
    EXPECT_EQ(runs, 1);
}
