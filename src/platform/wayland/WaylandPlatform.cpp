#include "platform/wayland/WaylandPlatform.h"

#include "platform/SystemLog.h"
#include "platform/TimerScheduler.h"
#include "platform/wayland/WaylandApplications.h"
#include "platform/wayland/WaylandClipboard.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeySynthesizer.h"
#include "platform/xdg/AutostartLoginItem.h"
#include "platform/xdg/JsonFileDefaultsStore.h"
#include "platform/xdg/XdgDesktopServices.h"

#include <QCoreApplication>
#include <QStringList>
#include <wayland-client.h>

struct WaylandPlatform::Services
{
    // First: every other service registers its objects on it, and it is stopped before they go.
    WaylandConnection connection;
    TimerScheduler scheduler;
    JsonFileDefaultsStore defaults{JsonFileDefaultsStore::defaultPath()};
    AutostartLoginItem loginItem{AutostartLoginItem::defaultEntryPath(), QCoreApplication::applicationFilePath()};
    StderrLog log;
    WaylandClipboard clipboard{connection};
    WaylandApplications applications{connection, scheduler};
    WaylandKeySynthesizer keys{connection, [this]() -> std::optional<WaylandKeySynthesizer::Front> {
                                   const auto active = applications.activeToplevel();
                                   if (!active) {
                                       return std::nullopt;
                                   }
                                   return WaylandKeySynthesizer::Front{active->first, active->second};
                               }};
    XdgDesktopServices desktop;
};

bool WaylandPlatform::canConnect(QString* reason)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        *reason = QStringLiteral("no Wayland display (WAYLAND_DISPLAY is not set)");
        return false;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        *reason =
            QStringLiteral("cannot connect to the Wayland display \"%1\"").arg(qEnvironmentVariable("WAYLAND_DISPLAY"));
        return false;
    }
    wl_display_disconnect(display);
    return true;
}

WaylandPlatform::WaylandPlatform(const QString& dataFolder)
    : m_services(std::make_unique<Services>()), m_dataFolder(dataFolder)
{
    m_services->connection.start();
    m_services->log.write(protocolSummary());
}

WaylandPlatform::~WaylandPlatform()
{
    m_services->connection.stop();
}

Platform WaylandPlatform::services() const
{
    Platform platform;
    platform.scheduler = &m_services->scheduler;
    platform.defaults = &m_services->defaults;
    platform.loginItem = &m_services->loginItem;
    platform.log = &m_services->log;
    platform.clipboard = &m_services->clipboard;
    platform.pasteboardReaders = &m_services->clipboard;
    platform.applications = &m_services->applications;
    platform.keys = &m_services->keys;
    platform.desktop = &m_services->desktop;
    platform.dataFolder = m_dataFolder;
    return platform;
}

bool WaylandPlatform::hasClipboard() const
{
    return m_services->clipboard.isAvailable();
}

QString WaylandPlatform::protocolSummary() const
{
    if (!m_services->connection.isConnected()) {
        return QStringLiteral("Stashwell: Wayland: no compositor answers at WAYLAND_DISPLAY");
    }
    QStringList used;
    QStringList missing;
    const auto note = [&](const QByteArray& protocol, const QString& absent) {
        if (protocol.isEmpty()) {
            missing.append(absent);
        } else {
            used.append(QString::fromUtf8(protocol));
        }
    };
    note(m_services->clipboard.protocol(),
         QStringLiteral("data control (no clipboard: ext_data_control_manager_v1 or zwlr_data_control_manager_v1)"));
    note(m_services->applications.protocol(),
         QStringLiteral("zwlr_foreign_toplevel_manager_v1 (no source application, no refocus)"));
    note(m_services->keys.protocol(), QStringLiteral("zwp_virtual_keyboard_manager_v1 (no auto-paste)"));
    return QStringLiteral("Stashwell: Wayland: in use %1; missing %2")
        .arg(used.isEmpty() ? QStringLiteral("nothing") : used.join(QStringLiteral(", ")),
             missing.isEmpty() ? QStringLiteral("nothing") : missing.join(QStringLiteral(", ")));
}
