// Our own connection to the Wayland compositor, read on a thread of its own: every protocol object
// is made, used and destroyed on that thread, whatever Qt platform plugin the windows use.
#pragma once

#include <QByteArray>
#include <QObject>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;

class WaylandConnection : public QObject
{
    Q_OBJECT
public:
    struct Global
    {
        std::uint32_t name = 0;
        std::uint32_t version = 0;
    };

    // Connects to $WAYLAND_DISPLAY (or `displayName`) and learns the globals and the first seat on
    // the calling thread; isConnected() is false when no compositor answers.
    explicit WaylandConnection(const char* displayName = nullptr, QObject* parent = nullptr);
    // Stops (see stop()) and disconnects.
    ~WaylandConnection() override;
    // Runs the teardown tasks on the Wayland thread and ends it; the services that registered them
    // must still exist. Nothing is read or sent afterwards.
    void stop();

    bool isConnected() const { return m_display != nullptr; }
    // The global as advertised at connection, when the compositor offers it.
    std::optional<Global> global(const QByteArray& interface) const;
    // Binds a global at min(offered, `maxVersion`); nullptr when it is not offered. Before start() or
    // on the Wayland thread only.
    void* bind(const QByteArray& interface, const wl_interface* type, std::uint32_t maxVersion,
               std::uint32_t* boundVersion = nullptr);
    wl_seat* seat() const { return m_seat; }

    // Starts reading events on the Wayland thread.
    void start();
    bool isWaylandThread() const { return std::this_thread::get_id() == m_thread.get_id(); }

    // Runs `task` on the Wayland thread after `delay` (never synchronously); the connection is
    // flushed after each round of tasks.
    void post(std::function<void()> task, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Runs `task` on the Wayland thread when the connection ends (protocol objects still alive).
    void atTeardown(std::function<void()> task);

    // Calls `ready` on the Wayland thread whenever `fd` can be written to (or its reader went away),
    // until it returns false; then the watch is gone. On the Wayland thread only.
    void watchWritable(int fd, std::function<bool()> ready);

signals:
    // The compositor closed the connection or it broke; emitted once, on this object's thread.
    void lost();

private:
    struct Task
    {
        std::chrono::steady_clock::time_point due;
        std::function<void()> run;
    };

    void run();
    bool runDueTasks();
    int pollTimeoutMs();
    void wake();
    void markLost();
    void runTeardown();
    static void registryGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                               std::uint32_t version);
    static void registryGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    std::map<QByteArray, Global> m_globals;
    int m_wakeFd = -1;
    std::thread m_thread;
    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_lost = false;
    std::mutex m_mutex;
    std::vector<Task> m_tasks;
    std::vector<std::function<void()>> m_teardown;
    std::map<int, std::function<bool()>> m_writers; // Wayland thread only
};
