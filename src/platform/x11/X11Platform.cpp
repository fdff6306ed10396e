#include "platform/x11/X11Platform.h"

#include "platform/SystemLog.h"
#include "platform/TimerScheduler.h"
#include "platform/x11/X11Applications.h"
#include "platform/x11/X11Clipboard.h"
#include "platform/x11/X11HotkeyRegistrar.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11KeyTap.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11PointerMonitor.h"
#include "platform/x11/X11WindowEffects.h"
#include "platform/xdg/AutostartLoginItem.h"
#include "platform/xdg/JsonFileDefaultsStore.h"
#include "platform/xdg/XdgDesktopServices.h"

#include <QCoreApplication>
#include <xcb/xcb.h>

struct X11Platform::Services
{
    TimerScheduler scheduler;
    JsonFileDefaultsStore defaults{JsonFileDefaultsStore::defaultPath()};
    AutostartLoginItem loginItem{AutostartLoginItem::defaultEntryPath(), QCoreApplication::applicationFilePath()};
    StderrLog log;
    X11Clipboard clipboard;
    X11Applications applications;
    X11KeyTap keyTap;
    X11HotkeyRegistrar hotkeys;
    X11KeySynthesizer keys;
    X11KeyboardLayout keyboardLayout;
    XdgDesktopServices desktop;
    X11PointerMonitor pointerMonitor;
    X11WindowEffects windowEffects;
};

bool X11Platform::canConnect(QString* reason)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *reason = QStringLiteral("no X11 display (DISPLAY is not set)");
        return false;
    }
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error != 0) {
        *reason = QStringLiteral("cannot open the X11 display \"%1\"").arg(qEnvironmentVariable("DISPLAY"));
        return false;
    }
    return true;
}

X11Platform::X11Platform(const QString& dataFolder)
    : m_services(std::make_unique<Services>()), m_dataFolder(dataFolder)
{
}

X11Platform::~X11Platform() = default;

Platform X11Platform::services() const
{
    Platform platform;
    platform.scheduler = &m_services->scheduler;
    platform.defaults = &m_services->defaults;
    platform.loginItem = &m_services->loginItem;
    platform.log = &m_services->log;
    platform.clipboard = &m_services->clipboard;
    platform.pasteboardReaders = &m_services->clipboard;
    platform.applications = &m_services->applications;
    platform.keyTap = &m_services->keyTap;
    platform.hotkeys = &m_services->hotkeys;
    platform.keys = &m_services->keys;
    platform.keyboardLayout = &m_services->keyboardLayout;
    platform.desktop = &m_services->desktop;
    platform.pointerMonitor = &m_services->pointerMonitor;
    platform.windowEffects = &m_services->windowEffects;
    platform.dataFolder = m_dataFolder;
    return platform;
}
