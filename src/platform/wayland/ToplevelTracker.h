// The toplevel windows of a Wayland session as the main thread knows them: which one is activated,
// and waiting (bounded) until a given one is.
#pragma once

#include "platform/Scheduler.h"

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class ToplevelTracker
{
public:
    struct Toplevel
    {
        std::uint64_t handle = 0; // ours, never reused
        QString appId;
        QString title;
        bool activated = false;
    };

    explicit ToplevelTracker(Scheduler& scheduler) : m_scheduler(scheduler) {}
    ~ToplevelTracker();
    ToplevelTracker(const ToplevelTracker&) = delete;
    ToplevelTracker& operator=(const ToplevelTracker&) = delete;

    // A toplevel's state after a group of changes.
    void update(const Toplevel& toplevel);
    void closed(std::uint64_t handle);

    // The activated toplevel, if any.
    std::optional<Toplevel> activated() const;
    std::optional<Toplevel> find(std::uint64_t handle) const;

    // Calls `done(true)` once the toplevel is activated (it may already be), `done(false)` when it
    // closes or `timeoutMs` passes first. Always later, from the scheduler, never inside this call.
    void whenActive(std::uint64_t handle, int timeoutMs, std::function<void(bool)> done);

private:
    struct Waiter
    {
        std::uint64_t id;
        std::uint64_t handle;
        Scheduler::TaskId timeout;
        std::function<void(bool)> done;
        bool settled = false; // its answer is decided and scheduled
    };
    void settle(std::uint64_t handle, bool active);
    void finish(std::uint64_t waiterId, bool active);

    Scheduler& m_scheduler;
    QHash<std::uint64_t, Toplevel> m_toplevels;
    std::uint64_t m_active = 0;
    QList<Waiter> m_waiters;
    std::uint64_t m_nextWaiter = 1;
};
