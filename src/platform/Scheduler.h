// Delayed work on the main thread, behind an interface so tests can move time by hand.
#pragma once

#include <cstdint>
#include <functional>

class Scheduler
{
public:
    using TaskId = std::uint64_t;

    virtual ~Scheduler() = default;

    // Runs `task` on the main thread after `delayMs` milliseconds; 0 means "at the next turn of the
    // event loop", after the current callback has returned. Never runs the task synchronously.
    virtual TaskId schedule(int delayMs, std::function<void()> task) = 0;

    // A cancelled task never runs. Cancelling a task that already ran, or id 0, does nothing.
    virtual void cancel(TaskId id) = 0;
};
