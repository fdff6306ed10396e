#include "platform/wayland/ToplevelTracker.h"

ToplevelTracker::~ToplevelTracker()
{
    for (const Waiter& waiter : m_waiters) {
        m_scheduler.cancel(waiter.timeout);
    }
}

void ToplevelTracker::update(const Toplevel& toplevel)
{
    m_toplevels.insert(toplevel.handle, toplevel);
    if (toplevel.activated) {
        m_active = toplevel.handle;
        settle(toplevel.handle, true);
    } else if (m_active == toplevel.handle) {
        m_active = 0;
    }
}

void ToplevelTracker::closed(std::uint64_t handle)
{
    m_toplevels.remove(handle);
    if (m_active == handle) {
        m_active = 0;
    }
    settle(handle, false);
}

std::optional<ToplevelTracker::Toplevel> ToplevelTracker::activated() const
{
    return m_active ? find(m_active) : std::nullopt;
}

std::optional<ToplevelTracker::Toplevel> ToplevelTracker::find(std::uint64_t handle) const
{
    const auto found = m_toplevels.constFind(handle);
    if (found == m_toplevels.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

void ToplevelTracker::whenActive(std::uint64_t handle, int timeoutMs, std::function<void(bool)> done)
{
    const std::uint64_t id = m_nextWaiter++;
    m_waiters.append({id, handle, 0, std::move(done)});
    Waiter& waiter = m_waiters.last();
    if (handle == 0 || !m_toplevels.contains(handle) || m_active == handle) {
        const bool active = handle != 0 && m_active == handle;
        waiter.settled = true;
        waiter.timeout = m_scheduler.schedule(0, [this, id, active] { finish(id, active); });
        return;
    }
    waiter.timeout = m_scheduler.schedule(timeoutMs, [this, id] { finish(id, false); });
}

void ToplevelTracker::settle(std::uint64_t handle, bool active)
{
    for (Waiter& waiter : m_waiters) {
        if (waiter.handle != handle || waiter.settled) {
            continue;
        }
        waiter.settled = true;
        m_scheduler.cancel(waiter.timeout);
        const std::uint64_t id = waiter.id;
        waiter.timeout = m_scheduler.schedule(0, [this, id, active] { finish(id, active); });
    }
}

void ToplevelTracker::finish(std::uint64_t waiterId, bool active)
{
    for (qsizetype i = 0; i < m_waiters.size(); ++i) {
        if (m_waiters[i].id == waiterId) {
            const std::function<void(bool)> done = std::move(m_waiters[i].done);
            m_waiters.removeAt(i);
            done(active);
            return;
        }
    }
}
