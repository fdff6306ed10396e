#include "platform/x11/X11Applications.h"

#include "platform/x11/NetWmIcon.h"
#include "platform/x11/X11Connection.h"
#include "platform/xdg/ApplicationMatcher.h"
#include "platform/xdg/WindowIconCache.h"

#include <cstring>
#include <xcb/res.h>

namespace {
// The icon size a card header needs, with room for a screen scale of 2.
constexpr int cardIconSize = 64;
// 4 MB of icons is more than any program publishes; a larger property is not read.
constexpr std::uint32_t maxIconLongs = 1024 * 1024;

using PropertyCookie = xcb_get_property_cookie_t;

PropertyCookie askProperty(xcb_connection_t* c, xcb_window_t window, const char* name, xcb_atom_t type,
                           std::uint32_t longs)
{
    return xcb_get_property(c, 0, window, X11Connection::atom(name), type, 0, longs);
}

QByteArray propertyBytes(xcb_connection_t* c, PropertyCookie cookie)
{
    const auto reply = xcbPtr(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE) {
        return {};
    }
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

std::optional<std::uint32_t> propertyCardinal(xcb_connection_t* c, PropertyCookie cookie)
{
    const QByteArray bytes = propertyBytes(c, cookie);
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData(), sizeof(value));
    return value;
}

// What a window says about its application, asked in one round trip. The X-Resource extension
// knows the process of any local client, also for the hidden windows that own selections.
struct WindowQuestions
{
    WindowQuestions(xcb_connection_t* connection, xcb_window_t asked, bool askServerForPid)
        : c(connection), window(asked)
    {
        gtkId = askProperty(c, window, "_GTK_APPLICATION_ID", XCB_GET_PROPERTY_TYPE_ANY, 256);
        wmClass = askProperty(c, window, "WM_CLASS", XCB_ATOM_STRING, 256);
        pid = askProperty(c, window, "_NET_WM_PID", XCB_ATOM_CARDINAL, 1);
        const xcb_query_extension_reply_t* res = xcb_get_extension_data(c, &xcb_res_id);
        if (askServerForPid && res && res->present) {
            // Only the client's process id is asked for, so every value that comes back is one.
            const xcb_res_client_id_spec_t pidQuery{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
            clientIds = xcb_res_query_client_ids(c, 1, &pidQuery);
            hasClientIds = true;
        }
    }

    RunningApplication answer(DesktopEntryIndex& entries)
    {
        WindowFacts facts;
        facts.gtkApplicationId = QString::fromUtf8(propertyBytes(c, gtkId));
        const QList<QByteArray> classes = propertyBytes(c, wmClass).split('\0');
        facts.wmInstance = QString::fromLocal8Bit(classes.value(0));
        facts.wmClass = QString::fromLocal8Bit(classes.value(1));

        RunningApplication app;
        app.window = window;
        if (const auto windowPid = propertyCardinal(c, pid)) {
            app.pid = *windowPid;
        }
        if (hasClientIds) {
            const auto reply = xcbPtr(xcb_res_query_client_ids_reply(c, clientIds, nullptr));
            if (reply) {
                auto it = xcb_res_query_client_ids_ids_iterator(reply.get());
                for (; it.rem > 0; xcb_res_client_id_value_next(&it)) {
                    if (xcb_res_client_id_value_value_length(it.data) >= 1) {
                        app.pid = *xcb_res_client_id_value_value(it.data);
                    }
                }
            }
        }
        if (app.pid) {
            facts.executable = ApplicationMatcher::executableOfProcess(*app.pid);
        }
        const ApplicationIdentity identity = ApplicationMatcher::identify(facts, entries);
        app.bundleID = identity.bundleID;
        app.name = identity.name;
        return app;
    }

    xcb_connection_t* c;
    xcb_window_t window;
    PropertyCookie gtkId{};
    PropertyCookie wmClass{};
    PropertyCookie pid{};
    xcb_res_query_client_ids_cookie_t clientIds{};
    bool hasClientIds = false;
};
} // namespace

std::optional<RunningApplication> X11Applications::frontmostApplication()
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return std::nullopt;
    }
    const auto active =
        propertyCardinal(c, askProperty(c, X11Connection::rootWindow(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, 1));
    if (!active || *active == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    // The window's own _NET_WM_PID is enough here; the server is asked only for selection owners.
    RunningApplication app = WindowQuestions(c, *active, false).answer(m_entries);
    keepWindowIcon(app);
    return app;
}

void X11Applications::keepWindowIcon(const RunningApplication& app)
{
    if (!app.bundleID || m_iconsKept.contains(*app.bundleID) || m_entries.byId(*app.bundleID)) {
        return;
    }
    m_iconsKept.insert(*app.bundleID);
    xcb_connection_t* c = X11Connection::connection();
    const QByteArray icons =
        propertyBytes(c, askProperty(c, app.window, "_NET_WM_ICON", XCB_ATOM_CARDINAL, maxIconLongs));
    WindowIconCache::save(*app.bundleID, NetWmIcon::bestImage(icons, cardIconSize));
}

std::optional<RunningApplication> X11Applications::clipboardOwner()
{
    xcb_connection_t* c = X11Connection::connection();
    if (!c) {
        return std::nullopt;
    }
    const auto owner =
        xcbPtr(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, X11Connection::atom("CLIPBOARD")), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    RunningApplication app = WindowQuestions(c, owner->owner, true).answer(m_entries);
    if (!app.bundleID && !app.pid) {
        return std::nullopt;
    }
    return app;
}
