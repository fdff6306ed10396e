// Changing the global shortcut without a window: a registered one is stored, one that cannot be
// registered is rolled back with a beep and the reason, and the suspended shortcut comes back
// whenever a recording ends without a new one.
#include "settings/ShortcutCommit.h"

#include "SettingsViewFixture.h"

#include <gtest/gtest.h>

namespace {
class ShortcutCommitTest : public ::testing::Test
{
protected:
    ShortcutCommitTest()
    {
        const SettingsView::Services view = fixture.services();
        commit = std::make_unique<ShortcutCommit>(
            settings, ShortcutCommit::Services{view.suspendShortcut, view.resumeShortcut, view.reloadShortcut, view.beep});
        QObject::connect(commit.get(), &ShortcutCommit::errorChanged, [this] { ++errorChanges; });
    }

    SettingsViewFixture fixture; // records the hotkey calls and beeps, answers the statuses set
    AppSettings& settings = fixture.settings();
    std::unique_ptr<ShortcutCommit> commit;
    QStringList& calls = fixture.hotkeyCalls;
    std::deque<std::int32_t>& statuses = fixture.reloadStatuses;
    int& beeps = fixture.beeps;
    int errorChanges = 0;
    const HotkeyShortcut controlOptionK{40, HotkeyShortcut::controlKey | HotkeyShortcut::optionKey, "K"};
    const HotkeyShortcut commandT{17, HotkeyShortcut::commandKey, "T"};
};

TEST_F(ShortcutCommitTest, StoresAndRegistersOrRollsBackWithTheReason)
{
    commit->commit(controlOptionK);
    EXPECT_EQ(settings.hotkeyShortcut(), controlOptionK);
    EXPECT_EQ(calls, QStringList{"reload"});
    EXPECT_FALSE(commit->error());
    EXPECT_EQ(beeps, 0);

    // Taken by another program: the previous shortcut is stored and registered again.
    calls.clear();
    statuses = {-9878};
    commit->commit(commandT);
    EXPECT_EQ(settings.hotkeyShortcut(), controlOptionK);
    EXPECT_EQ(fixture.defaults().values.value("stashwell.hotkey.keyCode").toInteger(), 40);
    EXPECT_EQ(fixture.defaults().values.value("stashwell.hotkey.keyLabel").toString(), QStringLiteral("K"));
    EXPECT_EQ(calls, (QStringList{"reload", "reload"}));
    EXPECT_EQ(commit->error(), QStringLiteral("That shortcut is already in use."));
    EXPECT_EQ(beeps, 1);

    statuses = {-9868};
    commit->commit(commandT);
    EXPECT_EQ(commit->error(), QStringLiteral("Could not register that shortcut. Status -9868."));
    EXPECT_EQ(settings.hotkeyShortcut(), controlOptionK);
    EXPECT_EQ(beeps, 2);

    // The default again, while it is already set, registers it again and clears the message.
    commit->commit(HotkeyShortcut::defaultShortcut());
    calls.clear();
    commit->commit(HotkeyShortcut::defaultShortcut());
    EXPECT_EQ(calls, QStringList{"reload"});
    EXPECT_FALSE(commit->error());
}

TEST_F(ShortcutCommitTest, ARecordingEndsByResumingUnlessANewShortcutIsCommitted)
{
    statuses = {-9878};
    commit->commit(commandT);
    ASSERT_TRUE(commit->error());
    calls.clear();
    const int changesBefore = errorChanges;

    commit->beginRecording();
    EXPECT_FALSE(commit->error()) << "a new attempt starts without the old message";
    EXPECT_GT(errorChanges, changesBefore);
    commit->rejectInvalid();
    EXPECT_EQ(commit->error(), QStringLiteral("Use at least Super, Ctrl or Alt with a key."));
    EXPECT_EQ(calls, QStringList{"suspend"}) << "still suspended while recording";
    commit->cancelRecording();
    EXPECT_EQ(calls, (QStringList{"suspend", "resume"}));

    // An invalid shortcut committed: nothing stored, a beep, and the suspended shortcut comes back.
    calls.clear();
    const HotkeyShortcut before = settings.hotkeyShortcut();
    commit->commit(HotkeyShortcut{40, HotkeyShortcut::shiftKey, "K"});
    EXPECT_EQ(calls, QStringList{"resume"});
    EXPECT_EQ(settings.hotkeyShortcut(), before);
    EXPECT_EQ(commit->error(), QStringLiteral("Use at least Super, Ctrl or Alt with a key."));
    EXPECT_EQ(beeps, 2);
}
} // namespace
