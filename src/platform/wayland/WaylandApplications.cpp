#include "platform/wayland/WaylandApplications.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/xdg/ApplicationMatcher.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

// What the protocol has told about one toplevel so far; applied at its done event.
struct WaylandApplications::Pending
{
    WaylandApplications* owner = nullptr;
    ToplevelTracker::Toplevel state;
};

namespace {
constexpr std::uint32_t maxManagerVersion = 3;

WaylandApplications::Pending* pendingOf(void* data)
{
    return static_cast<WaylandApplications::Pending*>(data);
}

void onTitle(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title)
{
    pendingOf(data)->state.title = QString::fromUtf8(title);
}

void onAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId)
{
    pendingOf(data)->state.appId = QString::fromUtf8(appId);
}

void onOutput(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

void onState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states)
{
    bool activated = false;
    const auto* values = static_cast<const std::uint32_t*>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        activated = activated || values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
    pendingOf(data)->state.activated = activated;
}

void onDone(void* data, zwlr_foreign_toplevel_handle_v1* handle)
{
    pendingOf(data)->owner->toplevelDone(handle);
}

void onClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle)
{
    pendingOf(data)->owner->toplevelClosed(handle);
}

void onParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

const zwlr_foreign_toplevel_handle_v1_listener handleListener = {&onTitle, &onAppId, &onOutput, &onOutput,
                                                                 &onState, &onDone,  &onClosed, &onParent};

void onToplevel(void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle)
{
    static_cast<WaylandApplications*>(data)->toplevelAnnounced(handle);
}

void onFinished(void*, zwlr_foreign_toplevel_manager_v1*) {}

const zwlr_foreign_toplevel_manager_v1_listener managerListener = {&onToplevel, &onFinished};
} // namespace

WaylandApplications::WaylandApplications(WaylandConnection& connection, Scheduler& scheduler)
    : m_connection(connection), m_tracker(scheduler)
{
    std::uint32_t version = 0;
    m_manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(connection.bind(
        "zwlr_foreign_toplevel_manager_v1", &zwlr_foreign_toplevel_manager_v1_interface, maxManagerVersion, &version));
    if (!m_manager) {
        return;
    }
    m_protocol = "zwlr_foreign_toplevel_manager_v1 v" + QByteArray::number(version);
    zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &managerListener, this);
    connection.atTeardown([this] { teardown(); });
}

WaylandApplications::~WaylandApplications() = default;

void WaylandApplications::teardown()
{
    for (auto it = m_handles.cbegin(); it != m_handles.cend(); ++it) {
        zwlr_foreign_toplevel_handle_v1_destroy(it.key());
    }
    m_handles.clear();
    m_byId.clear();
    // The manager has no destructor request of its own in version 3: stopping it is all there is.
    zwlr_foreign_toplevel_manager_v1_stop(m_manager);
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_manager));
    m_manager = nullptr;
}

void WaylandApplications::toplevelAnnounced(zwlr_foreign_toplevel_handle_v1* handle)
{
    auto state = std::make_shared<Pending>();
    state->owner = this;
    state->state.handle = m_nextId++;
    m_handles.insert(handle, state);
    m_byId.insert(state->state.handle, handle);
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, state.get());
}

void WaylandApplications::toplevelDone(zwlr_foreign_toplevel_handle_v1* handle)
{
    const Pending* state = m_handles.value(handle).get();
    if (!state) {
        return;
    }
    QMetaObject::invokeMethod(
        &m_context, [this, toplevel = state->state] { m_tracker.update(toplevel); }, Qt::QueuedConnection);
}

void WaylandApplications::toplevelClosed(zwlr_foreign_toplevel_handle_v1* handle)
{
    const std::shared_ptr<Pending> state = m_handles.take(handle);
    if (!state) {
        return;
    }
    m_byId.remove(state->state.handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    QMetaObject::invokeMethod(
        &m_context, [this, id = state->state.handle] { m_tracker.closed(id); }, Qt::QueuedConnection);
}

std::optional<std::pair<std::uint64_t, QString>> WaylandApplications::activeToplevel() const
{
    const auto active = m_tracker.activated();
    if (!active) {
        return std::nullopt;
    }
    return std::make_pair(active->handle, active->appId);
}

std::optional<RunningApplication> WaylandApplications::frontmostApplication()
{
    const auto active = m_tracker.activated();
    if (!active) {
        return std::nullopt;
    }
    RunningApplication app;
    app.handle = active->handle;
    if (!active->appId.isEmpty()) {
        // The app id plays the part of WM_CLASS: usually the desktop entry's id or StartupWMClass.
        WindowFacts facts;
        facts.wmClass = active->appId;
        facts.wmInstance = active->appId;
        const ApplicationIdentity identity = ApplicationMatcher::identify(facts, m_entries);
        app.bundleID = identity.bundleID;
        app.name = identity.name;
    }
    return app;
}

void WaylandApplications::activate(const RunningApplication& app)
{
    if (!m_manager || app.handle == 0 || !m_connection.seat()) {
        return;
    }
    m_connection.post([this, id = app.handle] {
        if (auto* handle = m_byId.value(id)) {
            zwlr_foreign_toplevel_handle_v1_activate(handle, m_connection.seat());
        }
    });
}

void WaylandApplications::whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done)
{
    m_tracker.whenActive(app.handle, timeoutMs, std::move(done));
}
