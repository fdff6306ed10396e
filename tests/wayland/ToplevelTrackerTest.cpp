// Waiting for a Wayland toplevel to be activated before the paste keystroke goes to it.
#include "platform/fake/ManualScheduler.h"
#include "platform/wayland/ToplevelTracker.h"

#include <gtest/gtest.h>

namespace {
ToplevelTracker::Toplevel toplevel(std::uint64_t handle, const QString& appId, bool activated)
{
    return {handle, appId, QString(), activated};
}
} // namespace

TEST(ToplevelTracker, ConfirmsOnlyTheRememberedToplevelWithinTheWait)
{
    ManualScheduler scheduler;
    ToplevelTracker tracker(scheduler);
    tracker.update(toplevel(1, QStringLiteral("foot"), true));
    tracker.update(toplevel(2, QStringLiteral("firefox"), false));
    ASSERT_TRUE(tracker.activated());
    EXPECT_EQ(tracker.activated()->appId, QStringLiteral("foot"));

    QList<bool> answers;
    const auto record = [&answers](bool active) { answers.append(active); };
    // Already active: confirmed, but never inside the call.
    tracker.whenActive(1, 500, record);
    EXPECT_TRUE(answers.isEmpty());
    scheduler.runDue();
    EXPECT_EQ(answers, QList<bool>{true});

    // Another toplevel becoming active is no confirmation; the remembered one is.
    answers.clear();
    tracker.whenActive(2, 500, record);
    tracker.update(toplevel(1, QStringLiteral("foot"), false));
    tracker.update(toplevel(3, QStringLiteral("popup"), true));
    scheduler.advance(100);
    EXPECT_TRUE(answers.isEmpty());
    tracker.update(toplevel(2, QStringLiteral("firefox"), true));
    scheduler.runDue();
    EXPECT_EQ(answers, QList<bool>{true});
    // The later deactivation of the old one does not take the active one away.
    tracker.update(toplevel(3, QStringLiteral("popup"), false));
    EXPECT_EQ(tracker.activated()->handle, 2u);
}

TEST(ToplevelTracker, GivesUpAtTheTimeoutWhenClosedOrUnknown)
{
    ManualScheduler scheduler;
    ToplevelTracker tracker(scheduler);
    tracker.update(toplevel(1, QStringLiteral("foot"), false));
    QList<bool> answers;
    const auto record = [&answers](bool active) { answers.append(active); };

    tracker.whenActive(1, 500, record);
    scheduler.advance(499);
    EXPECT_TRUE(answers.isEmpty());
    scheduler.advance(1);
    EXPECT_EQ(answers, QList<bool>{false});

    tracker.whenActive(1, 500, record);
    tracker.closed(1);
    scheduler.runDue();
    EXPECT_EQ(answers, (QList<bool>{false, false}));
    EXPECT_FALSE(tracker.activated());

    tracker.whenActive(0, 500, record);  // nothing remembered
    tracker.whenActive(42, 500, record); // gone before the wait began
    scheduler.runDue();
    EXPECT_EQ(answers.size(), 4);
    EXPECT_FALSE(answers[2] || answers[3]);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}
