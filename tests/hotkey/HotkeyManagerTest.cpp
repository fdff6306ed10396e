// The global shortcut's life cycle over a fake registrar: registration, presses, suspension, failures.
#include "hotkey/HotkeyManager.h"

#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {
struct HotkeyManagerTest : ::testing::Test
{
    FakeHotkeyRegistrar registrar;
    ManualScheduler scheduler;
    RecordingLog log;
    HotkeyShortcut configured = HotkeyShortcut::defaultShortcut();
    HotkeyManager manager{registrar, scheduler, log, [this] { return configured; }};
};
} // namespace

TEST_F(HotkeyManagerTest, ReloadBeforeRegisterReportsSuccessAndRegistersNothing)
{
    EXPECT_EQ(manager.reloadShortcut(), 0);
    EXPECT_EQ(manager.resumeShortcut(), 0);
    EXPECT_EQ(registrar.registerCalls, 0);
    EXPECT_FALSE(registrar.registration);
}

TEST_F(HotkeyManagerTest, RegistersTheConfiguredShortcutAndDeliversPressesQueued)
{
    int calls = 0;
    ASSERT_EQ(manager.registerHandler([&] { ++calls; }), 0);
    ASSERT_TRUE(registrar.registration);
    EXPECT_EQ(registrar.registration->keyCode, 9u);
    EXPECT_EQ(registrar.registration->modifiers, 0x300u);
    EXPECT_EQ(registrar.registration->signature, 0x5354574Cu);
    EXPECT_EQ(registrar.registration->id, 1u);

    registrar.press();
    EXPECT_EQ(calls, 0) << "the press must not run the handler inside the desktop's callback";
    scheduler.runDue();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(HotkeyManagerTest, RegisteringTwiceKeepsOneHandlerAndCallsOnlyTheSecond)
{
    int first = 0;
    int second = 0;
    manager.registerHandler([&] { ++first; });
    registrar.press(); // queued while the first closure is stored
    manager.registerHandler([&] { ++second; });

    EXPECT_EQ(registrar.installCalls, 2);
    EXPECT_EQ(registrar.unregisterCalls, 1) << "the first registration is dropped before the second";
    EXPECT_TRUE(registrar.registration);

    registrar.press();
    scheduler.runDue();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 2) << "a queued press calls whichever closure is stored when it runs";
}

TEST_F(HotkeyManagerTest, SuspendAndResumeFollowTheSettingsOnlyWhenReloaded)
{
    int calls = 0;
    manager.registerHandler([&] { ++calls; });

    manager.suspendShortcut();
    EXPECT_FALSE(manager.hasRegisteredShortcut());
    registrar.press();
    scheduler.runDue();
    EXPECT_EQ(calls, 0);

    configured = HotkeyShortcut{40, HotkeyShortcut::controlKey | HotkeyShortcut::optionKey, QStringLiteral("K")};
    EXPECT_FALSE(registrar.registration) << "a settings change alone registers nothing";

    EXPECT_EQ(manager.resumeShortcut(), 0);
    ASSERT_TRUE(registrar.registration);
    EXPECT_EQ(registrar.registration->keyCode, 40u);
    EXPECT_EQ(registrar.registration->modifiers, 0x1800u);
    registrar.press();
    scheduler.runDue();
    EXPECT_EQ(calls, 1);

    // Reload swaps the registration for the current settings, without touching the handler.
    configured = HotkeyShortcut::defaultShortcut();
    EXPECT_EQ(manager.reloadShortcut(), 0);
    EXPECT_EQ(registrar.registration->keyCode, 9u);
    EXPECT_EQ(registrar.installCalls, 1);
}

TEST_F(HotkeyManagerTest, FailedRegistrationLogsAndLeavesNoShortcutUntilAReloadSucceeds)
{
    registrar.registerStatus = HotkeyRegistrar::eventHotKeyExistsErr;
    int calls = 0;
    EXPECT_EQ(manager.registerHandler([&] { ++calls; }), -9878);
    EXPECT_FALSE(manager.hasRegisteredShortcut());
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_EQ(log.lines[0], QStringLiteral("Stashwell: failed to register hotkey Super+Shift+V: -9878"));

    // Nothing is registered, so suspending has nothing to drop.
    manager.suspendShortcut();
    EXPECT_EQ(registrar.unregisterCalls, 0);

    registrar.registerStatus = HotkeyRegistrar::noErr;
    EXPECT_EQ(manager.reloadShortcut(), 0);
    EXPECT_TRUE(manager.hasRegisteredShortcut());
    registrar.press();
    scheduler.runDue();
    EXPECT_EQ(calls, 1);
}

TEST_F(HotkeyManagerTest, FailedHandlerInstallationKeepsTheClosureButRegistersNothing)
{
    registrar.installStatus = -50;
    EXPECT_EQ(manager.registerHandler([] {}), -50);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_EQ(log.lines[0], QStringLiteral("Stashwell: failed to install hotkey handler: -50"));
    EXPECT_EQ(registrar.registerCalls, 0);

    registrar.installStatus = HotkeyRegistrar::noErr;
    EXPECT_EQ(manager.reloadShortcut(), 0);
    EXPECT_EQ(registrar.registerCalls, 0) << "without an installed handler a reload registers nothing";
}

TEST_F(HotkeyManagerTest, UnregisterDropsEverythingAndQueuedPressesFindNoHandler)
{
    int calls = 0;
    manager.registerHandler([&] { ++calls; });
    registrar.press();
    manager.unregister();
    scheduler.runDue();

    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(registrar.registration);
    EXPECT_FALSE(registrar.handler);
    EXPECT_EQ(manager.reloadShortcut(), 0);
    EXPECT_FALSE(registrar.registration);
}

TEST(HotkeyManagerLifetime, APressQueuedBeforeTheManagerEndsDoesNothing)
{
    FakeHotkeyRegistrar registrar;
    ManualScheduler scheduler;
    RecordingLog log;
    int calls = 0;
    std::function<void()> press;
    {
        HotkeyManager manager(registrar, scheduler, log, [] { return HotkeyShortcut::defaultShortcut(); });
        manager.registerHandler([&] { ++calls; });
        press = registrar.handler;
        registrar.press();
    }
    EXPECT_FALSE(registrar.handler) << "the manager removes its handler when it ends";
    press(); // a press the desktop had already dispatched
    scheduler.runDue();
    EXPECT_EQ(calls, 0);
}
