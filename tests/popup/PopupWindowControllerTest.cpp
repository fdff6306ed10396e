// The popup's window life on the offscreen platform: placement, the pick road, the dismiss hooks
// and the hide paths.
#include "popup/ui/PopupWindowController.h"

#include "history/ClipboardStore.h"
#include "paste/Pasteboard.h"
#include "popup/PopupViewModel.h"
#include "popup/ui/PopupPanel.h"
#include "popup/ui/PopupView.h"
#include "settings/AppSettings.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
class PopupWindowControllerTest : public ::testing::Test
{
protected:
    PopupWindowControllerTest()
    {
        store.add(textItem(QStringLiteral("first")));
        RunningApplication editor;
        editor.bundleID = QStringLiteral("org.example.Editor");
        editor.window = 42;
        env.platform.applications.frontmost = editor;
    }

    PopupWindowController::Dependencies dependencies()
    {
        PopupWindowController::Dependencies deps;
        deps.store = &store;
        deps.settings = &settings;
        deps.scheduler = &env.platform.scheduler;
        deps.applications = &env.platform.applications;
        deps.pointerMonitor = &env.platform.pointerMonitor;
        deps.windowEffects = &env.platform.windowEffects;
        deps.desktop = &env.platform.desktop;
        deps.clipboard = &env.platform.clipboard;
        deps.place = [this](const ClipboardItem& item, bool plainOnly) {
            placed.append(item.text.value_or(QString()));
            placedPlain.append(plainOnly);
        };
        deps.log = &env.platform.log;
        deps.simulatePaste = [this](const RunningApplication& target, std::function<void(PasteOutcome)> done) {
            ++keystrokesAsked;
            if (whileKeysWait) {
                whileKeysWait();
            }
            Pasteboard::simulatePaste(env.platform.keys, target, std::move(done));
        };
        deps.hasAccessibilityPermission = [this](bool prompt) {
            prompts += prompt ? 1 : 0;
            return false;
        };
        deps.isOptionHeld = [] { return false; };
        return deps;
    }

    // Runs the event loop (animations) and the fake scheduler's due tasks until `done` holds.
    bool settle(const std::function<bool()>& done)
    {
        return waitUntil([&] {
            env.platform.scheduler.runDue();
            return done();
        });
    }

    bool shownAndSettled()
    {
        return settle([this] { return controller.isVisible() && controller.panel()->geometry() == target(); });
    }

    QRect target() const
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        return QRect(available.x(), available.bottom() + 1 - available.height() * 32 / 100, available.width(),
                     available.height() * 32 / 100);
    }

    FakeEnvironment env;
    ClipboardStore store{env.historyFolder(), env.platform.scheduler, [] { return std::int64_t(100); }};
    AppSettings settings{env.platform.defaults, env.platform.loginItem, env.platform.log, [] {}};
    QStringList placed;
    QList<bool> placedPlain;
    // Keystrokes that reached the window in front (the fake posts only into the frontmost window).
    int pastes() const { return env.platform.keys.pasteCount; }
    int keystrokesAsked = 0;
    int prompts = 0;
    std::function<void()> whileKeysWait; // what happens between the confirmation and the keys
    PopupWindowController controller{dependencies()};
};

TEST_F(PopupWindowControllerTest, OpensAcrossTheBottomOfTheScreenWithAFreshView)
{
    settings.setPopupHeightFraction(0.32);
    controller.show();
    ASSERT_TRUE(controller.isVisible());
    EXPECT_EQ(controller.previousApp()->window, 42u);
    EXPECT_TRUE(controller.hasDismissHooks());
    EXPECT_TRUE(env.platform.pointerMonitor.isInstalled());
    ASSERT_TRUE(shownAndSettled()) << "slides up to the bottom edge";
    EXPECT_TRUE(controller.panel()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(env.platform.windowEffects.blurRequests.isEmpty());

    controller.view()->model().setQuery(QStringLiteral("fir"));
    controller.hide(false);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    EXPECT_FALSE(controller.hasDismissHooks());
    EXPECT_FALSE(env.platform.pointerMonitor.isInstalled());

    controller.show();
    EXPECT_EQ(controller.view()->model().query(), QString()) << "every opening starts afresh";
    EXPECT_EQ(controller.view()->model().selection(), 0);
    controller.hide(false);
}

TEST_F(PopupWindowControllerTest, APickPlacesSlidesDownReactivatesAndPastesLater)
{
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    controller.view()->model().activate(0);
    EXPECT_EQ(placed, QStringList{QStringLiteral("first")});
    EXPECT_TRUE(controller.isAnimatingOut());
    EXPECT_TRUE(controller.isVisible()) << "still sliding down";
    EXPECT_TRUE(env.platform.applications.activated.isEmpty()) << "reactivation waits for the slide-down";

    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    EXPECT_FALSE(controller.isAnimatingOut());
    ASSERT_EQ(env.platform.applications.activated.size(), 1);
    EXPECT_EQ(pastes(), 0) << "the paste comes 0.12 s later";
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_EQ(pastes(), 1);
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(controller.previousApp());
}

TEST_F(PopupWindowControllerTest, PastesOnlyWhileTheRememberedWindowIsActive)
{
    RunningApplication chat;
    chat.name = QStringLiteral("Chat");
    chat.window = 77;
    auto pick = [this] {
        controller.show();
        controller.view()->model().activate(0);
        ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    };

    // The editor was closed while the popup was open; the chat stays in front whatever is asked.
    controller.show();
    env.platform.applications.frontmost = chat;
    env.platform.applications.ignoresActivation = true;
    controller.view()->model().activate(0);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_EQ(env.platform.applications.activated.size(), 1);
    EXPECT_EQ(keystrokesAsked, 0) << "nothing typed into the chat";
    EXPECT_EQ(placed.size(), 1) << "the pick stays on the clipboard";
    EXPECT_EQ(prompts, 0);
    ASSERT_EQ(env.platform.log.lines.size(), 1);
    EXPECT_TRUE(env.platform.log.lines[0].startsWith(QStringLiteral("Stashwell: the pick was not pasted")));
    EXPECT_TRUE(env.platform.log.lines[0].contains(QStringLiteral("org.example.Editor")));

    // The editor comes back, but the chat takes the front while the keys wait for a modifier.
    env.platform.applications.ignoresActivation = false;
    const RunningApplication editor = env.platform.applications.activated.first();
    env.platform.applications.frontmost = editor;
    whileKeysWait = [&] { env.platform.applications.frontmost = chat; };
    pick();
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_EQ(pastes(), 0);
    EXPECT_EQ(env.platform.log.lines.size(), 2);

    // Back in front and staying there: pasted, nothing logged.
    whileKeysWait = nullptr;
    env.platform.applications.frontmost = editor;
    pick();
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_EQ(pastes(), 1);
    EXPECT_EQ(env.platform.log.lines.size(), 2);
}

TEST_F(PopupWindowControllerTest, NeverPastesIntoStashwellItself)
{
    // Our own window in front is no application to go back to.
    RunningApplication ours;
    ours.window = 7;
    ours.pid = QCoreApplication::applicationPid();
    env.platform.applications.frontmost = ours;
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    EXPECT_FALSE(controller.previousApp());
    controller.view()->model().activate(0);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_TRUE(env.platform.applications.activated.isEmpty());
    EXPECT_EQ(pastes(), 0);

    // A popup reopened before the delayed paste went out keeps its keyboard to itself.
    RunningApplication editor;
    editor.window = 42;
    env.platform.applications.frontmost = editor;
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    controller.view()->model().activate(0);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    controller.show();
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_EQ(pastes(), 0);
    controller.hide(false);
}

TEST_F(PopupWindowControllerTest, AFailedPasteAsksForThePermissionAndAutoPasteOffPastesNothing)
{
    env.platform.keys.trusted = false;
    controller.show();
    controller.view()->model().activate(0);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    env.platform.scheduler.advance(PopupWindowController::pasteDelayMs);
    EXPECT_EQ(pastes(), 0);
    EXPECT_EQ(prompts, 1);
    EXPECT_TRUE(env.platform.log.lines.isEmpty());

    settings.setAutoPasteOnSelect(false);
    controller.show();
    controller.view()->model().activate(0);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    env.platform.scheduler.advance(1000);
    EXPECT_EQ(env.platform.applications.activated.size(), 2) << "reactivated all the same";
    EXPECT_EQ(pastes(), 0);
    EXPECT_EQ(prompts, 1);
}

TEST_F(PopupWindowControllerTest, DismissalsNeitherReactivateNorPaste)
{
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    controller.toggle(); // the hotkey while shown
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    env.platform.scheduler.advance(1000);
    EXPECT_TRUE(env.platform.applications.activated.isEmpty());
    EXPECT_EQ(pastes(), 0);
    EXPECT_FALSE(controller.previousApp()) << "cleared all the same";

    // A pick with no window in front: placed, but nothing to activate or paste into.
    env.platform.applications.frontmost.reset();
    controller.show();
    controller.view()->model().activate(0);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    env.platform.scheduler.advance(1000);
    EXPECT_EQ(placed.size(), 1);
    EXPECT_TRUE(env.platform.applications.activated.isEmpty());
    EXPECT_EQ(pastes(), 0);
}

TEST_F(PopupWindowControllerTest, EscapeAndOutsidePressesDismiss)
{
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(controller.panel()->windowHandle(), &escape);
    EXPECT_TRUE(controller.isAnimatingOut());
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));

    controller.show();
    ASSERT_TRUE(shownAndSettled());
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(5, 5));
    env.platform.pointerMonitor.press();
    env.platform.scheduler.runDue();
    EXPECT_TRUE(controller.isAnimatingOut()) << "a press outside the panel";
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    EXPECT_FALSE(env.platform.pointerMonitor.isInstalled());
}

TEST_F(PopupWindowControllerTest, LosingTheKeyboardDismissesUnlessItComesRightBack)
{
    QWidget other;
    other.resize(100, 100);
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    ASSERT_TRUE(settle([this] { return QGuiApplication::focusWindow() == controller.panel()->windowHandle(); }));

    // A stale report of lost focus that the panel's own activation follows at once: no dismissal.
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == other.windowHandle(); }));
    controller.panel()->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == controller.panel()->windowHandle(); }));
    env.platform.scheduler.advance(PopupWindowController::resignGraceMs);
    EXPECT_FALSE(controller.isAnimatingOut());

    // Another window keeps the keyboard: dismissed after the grace period.
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == other.windowHandle(); }));
    env.platform.scheduler.advance(PopupWindowController::resignGraceMs - 1);
    EXPECT_FALSE(controller.isAnimatingOut());
    env.platform.scheduler.advance(1);
    EXPECT_TRUE(controller.isAnimatingOut());
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
}

TEST_F(PopupWindowControllerTest, WithoutAGlobalMonitorThePopupStillOpensAndCloses)
{
    env.platform.pointerMonitor.refuse = true;
    controller.show();
    EXPECT_TRUE(controller.isVisible());
    EXPECT_FALSE(env.platform.pointerMonitor.isInstalled());
    controller.hide(false);
    ASSERT_TRUE(settle([this] { return !controller.isVisible(); }));
    EXPECT_FALSE(controller.hasDismissHooks());
}

TEST_F(PopupWindowControllerTest, ASecondHideOrdersOutAtOnceAndAReopenSurvivesTheFirst)
{
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    controller.view()->model().activate(0); // a pick: sliding down, paste pending
    controller.hide(false);                 // e.g. the hotkey during the slide-down
    EXPECT_FALSE(controller.isVisible());
    EXPECT_FALSE(controller.previousApp());
    env.platform.scheduler.advance(1000);
    EXPECT_EQ(pastes(), 0) << "the second hide dropped the paste";

    // Closing and reopening at once: the old slide-down must not close the new popup.
    controller.show();
    ASSERT_TRUE(shownAndSettled());
    controller.hide(false);
    controller.show();
    EXPECT_FALSE(controller.isAnimatingOut());
    ASSERT_TRUE(shownAndSettled());
    QEventLoop loop;
    QTimer::singleShot(PopupWindowController::hideDurationMs + 100, &loop, &QEventLoop::quit);
    loop.exec();
    env.platform.scheduler.runDue();
    EXPECT_TRUE(controller.isVisible());
    EXPECT_TRUE(controller.hasDismissHooks());
    controller.hide(false);
}
} // namespace
