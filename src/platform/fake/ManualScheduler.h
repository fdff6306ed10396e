// A scheduler whose time moves only when a test says so.
#pragma once

#include "platform/Scheduler.h"

#include <map>

class ManualScheduler final : public Scheduler
{
public:
    TaskId schedule(int delayMs, std::function<void()> task) override;
    void cancel(TaskId id) override;

    // Moves time forward, running every task that falls due, in time order (tasks may schedule more).
    void advance(int ms);
    // Runs what is due now (delay 0) without moving time.
    void runDue() { advance(0); }
    std::int64_t now() const { return m_now; }
    std::size_t pendingCount() const { return m_tasks.size(); }

private:
    struct Task
    {
        std::int64_t due;
        std::function<void()> run;
    };
    std::int64_t m_now = 0;
    TaskId m_nextId = 1;
    std::map<TaskId, Task> m_tasks;
};
