// Applications in a Wayland session, through wlr foreign toplevel management: the activated
// toplevel's app id names the application in front, and a remembered toplevel is activated again.
// Without the protocol there is no application in front.
#pragma once

#include "platform/Applications.h"
#include "platform/wayland/ToplevelTracker.h"
#include "platform/xdg/DesktopEntryIndex.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <memory>

class WaylandConnection;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

class WaylandApplications final : public Applications
{
public:
    // Before the connection starts. `scheduler` times the waits for activation.
    WaylandApplications(WaylandConnection& connection, Scheduler& scheduler);
    ~WaylandApplications() override;

    bool isAvailable() const { return m_manager != nullptr; }
    // "zwlr_foreign_toplevel_manager_v1 v3"; empty without it.
    QByteArray protocol() const { return m_protocol; }
    // The activated toplevel's handle and raw app id, nothing when none is known.
    std::optional<std::pair<std::uint64_t, QString>> activeToplevel() const;

    std::optional<RunningApplication> frontmostApplication() override;
    void activate(const RunningApplication& app) override;
    void whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done) override;

    // Wayland thread: the protocol's events.
    struct Pending;
    void toplevelAnnounced(zwlr_foreign_toplevel_handle_v1* handle);
    void toplevelDone(zwlr_foreign_toplevel_handle_v1* handle);
    void toplevelClosed(zwlr_foreign_toplevel_handle_v1* handle);

private:
    void teardown();

    WaylandConnection& m_connection;
    QObject m_context;         // main thread: news from the Wayland thread is dropped once this is gone
    ToplevelTracker m_tracker; // main thread
    DesktopEntryIndex m_entries;
    zwlr_foreign_toplevel_manager_v1* m_manager = nullptr;
    QByteArray m_protocol;
    // Wayland thread only:
    QHash<zwlr_foreign_toplevel_handle_v1*, std::shared_ptr<Pending>> m_handles;
    QHash<std::uint64_t, zwlr_foreign_toplevel_handle_v1*> m_byId;
    std::uint64_t m_nextId = 1;
};
