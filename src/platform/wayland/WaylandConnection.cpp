#include "platform/wayland/WaylandConnection.h"

#include <QMetaObject>
#include <algorithm>
#include <csignal>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

namespace {
// A reader that closed its end of a pipe must cost a failed write, not the whole program.
void blockBrokenPipeSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}
} // namespace

WaylandConnection::WaylandConnection(const char* displayName, QObject* parent) : QObject(parent)
{
    m_display = wl_display_connect(displayName);
    if (!m_display) {
        return;
    }
    static const wl_registry_listener registryListener = {&registryGlobal, &registryGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    if (wl_display_roundtrip(m_display) < 0) {
        wl_registry_destroy(m_registry);
        wl_display_disconnect(m_display);
        m_registry = nullptr;
        m_display = nullptr;
        return;
    }
    // One seat is all a clipboard manager serves: the first one, as the compositor orders them.
    m_seat = static_cast<wl_seat*>(bind("wl_seat", &wl_seat_interface, 1));
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

WaylandConnection::~WaylandConnection()
{
    if (!m_display) {
        return;
    }
    stop();
    if (m_seat) {
        wl_seat_destroy(m_seat);
    }
    wl_registry_destroy(m_registry);
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
    }
}

void WaylandConnection::stop()
{
    if (m_thread.joinable()) {
        post([this] {
            runTeardown();
            m_stopping = true;
        });
        m_thread.join();
    }
    // Without a thread (never started, or ended with the connection) nothing else touches the objects.
    runTeardown();
    m_stopping = true;
    if (m_display) {
        wl_display_flush(m_display);
    }
}

void WaylandConnection::registryGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface,
                                       std::uint32_t version)
{
    auto* self = static_cast<WaylandConnection*>(data);
    // The first of several (seats) wins.
    self->m_globals.try_emplace(QByteArray(interface), Global{name, version});
}

void WaylandConnection::registryGlobalRemove(void*, wl_registry*, std::uint32_t)
{
    // Globals we use are bound for the life of the connection; a removed seat makes them inert.
}

std::optional<WaylandConnection::Global> WaylandConnection::global(const QByteArray& interface) const
{
    const auto found = m_globals.find(interface);
    if (found == m_globals.end()) {
        return std::nullopt;
    }
    return found->second;
}

void* WaylandConnection::bind(const QByteArray& interface, const wl_interface* type, std::uint32_t maxVersion,
                              std::uint32_t* boundVersion)
{
    const auto offered = global(interface);
    if (!offered || !m_registry) {
        return nullptr;
    }
    const std::uint32_t version = std::min(offered->version, maxVersion);
    if (boundVersion) {
        *boundVersion = version;
    }
    return wl_registry_bind(m_registry, offered->name, type, version);
}

void WaylandConnection::start()
{
    if (!m_display || m_thread.joinable() || m_stopping) {
        return;
    }
    m_thread = std::thread([this] { run(); });
}

void WaylandConnection::post(std::function<void()> task, std::chrono::milliseconds delay)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back({std::chrono::steady_clock::now() + delay, std::move(task)});
    }
    wake();
}

void WaylandConnection::atTeardown(std::function<void()> task)
{
    std::lock_guard lock(m_mutex);
    m_teardown.push_back(std::move(task));
}

void WaylandConnection::runTeardown()
{
    std::vector<std::function<void()>> tasks;
    {
        std::lock_guard lock(m_mutex);
        tasks.swap(m_teardown);
    }
    // Newest first: objects made later may depend on those made before them.
    for (auto task = tasks.rbegin(); task != tasks.rend(); ++task) {
        (*task)();
    }
}

void WaylandConnection::watchWritable(int fd, std::function<bool()> ready)
{
    m_writers[fd] = std::move(ready);
}

void WaylandConnection::wake()
{
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    }
}

bool WaylandConnection::runDueTasks()
{
    const auto now = std::chrono::steady_clock::now();
    std::vector<Task> due;
    {
        std::lock_guard lock(m_mutex);
        // Stable: tasks posted with the same delay run in the order they were posted.
        const auto split =
            std::stable_partition(m_tasks.begin(), m_tasks.end(), [now](const Task& task) { return task.due <= now; });
        due.assign(std::make_move_iterator(m_tasks.begin()), std::make_move_iterator(split));
        m_tasks.erase(m_tasks.begin(), split);
    }
    for (Task& task : due) {
        if (m_stopping) {
            break; // torn down: the objects later tasks would touch are gone
        }
        task.run();
    }
    return !due.empty();
}

int WaylandConnection::pollTimeoutMs()
{
    std::lock_guard lock(m_mutex);
    if (m_tasks.empty()) {
        return -1;
    }
    const auto next = std::min_element(m_tasks.begin(), m_tasks.end(), [](const Task& a, const Task& b) {
                          return a.due < b.due;
                      })->due;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - std::chrono::steady_clock::now());
    return int(std::clamp<std::int64_t>(wait.count(), 0, 60000));
}

void WaylandConnection::markLost()
{
    if (!m_lost.exchange(true)) {
        QMetaObject::invokeMethod(
            this, [this] { emit lost(); }, Qt::QueuedConnection);
    }
}

void WaylandConnection::run()
{
    blockBrokenPipeSignals();
    const int displayFd = wl_display_get_fd(m_display);
    while (!m_stopping) {
        runDueTasks();
        if (m_stopping) {
            break;
        }
        while (wl_display_prepare_read(m_display) != 0) {
            if (wl_display_dispatch_pending(m_display) < 0) {
                markLost();
                return;
            }
        }
        // A full socket buffer is no error: the rest goes out when the socket can take it.
        const bool flushed = wl_display_flush(m_display) >= 0;
        const bool outputWaiting = !flushed && errno == EAGAIN;
        if (!flushed && !outputWaiting) {
            wl_display_cancel_read(m_display);
            markLost();
            return;
        }
        std::vector<pollfd> fds = {{displayFd, short(POLLIN | (outputWaiting ? POLLOUT : 0)), 0},
                                   {m_wakeFd, POLLIN, 0}};
        for (const auto& [fd, ready] : m_writers) {
            fds.push_back({fd, POLLOUT, 0});
        }
        const int ready = ::poll(fds.data(), fds.size(), pollTimeoutMs());
        if (ready > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP))) {
            if (wl_display_read_events(m_display) < 0) {
                markLost();
                return;
            }
        } else {
            wl_display_cancel_read(m_display);
        }
        if (wl_display_dispatch_pending(m_display) < 0) {
            markLost();
            return;
        }
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(m_wakeFd, &count, sizeof count);
        }
        for (std::size_t i = 2; ready > 0 && i < fds.size(); ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            const auto writer = m_writers.find(fds[i].fd);
            if (writer != m_writers.end() && !writer->second()) {
                m_writers.erase(fds[i].fd);
            }
        }
    }
    wl_display_flush(m_display);
}
