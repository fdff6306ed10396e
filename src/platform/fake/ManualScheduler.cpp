#include "platform/fake/ManualScheduler.h"

Scheduler::TaskId ManualScheduler::schedule(int delayMs, std::function<void()> task)
{
    const TaskId id = m_nextId++;
    m_tasks.emplace(id, Task{m_now + (delayMs < 0 ? 0 : delayMs), std::move(task)});
    return id;
}

void ManualScheduler::cancel(TaskId id)
{
    m_tasks.erase(id);
}

void ManualScheduler::advance(int ms)
{
    const std::int64_t target = m_now + ms;
    for (;;) {
        auto next = m_tasks.end();
        for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
            // Earliest due first; among equals, the one scheduled first (lowest id, map order).
            if (it->second.due <= target && (next == m_tasks.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == m_tasks.end()) {
            break;
        }
        m_now = next->second.due;
        auto run = std::move(next->second.run);
        m_tasks.erase(next);
        run();
    }
    m_now = target;
}
