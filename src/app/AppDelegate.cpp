#include "app/AppDelegate.h"

#include "capture/ClipboardMonitor.h"
#include "history/ClipboardStore.h"
#include "hotkey/HotkeyManager.h"
#include "platform/Platform.h"
#include "platform/SystemLog.h"
#include "popup/ui/PopupWindowController.h"
#include "settings/AppSettings.h"
#include "settings/ui/SettingsWindowController.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) {}

AppDelegate::AppDelegate(AppSettings& settings, ClipboardStore& store, QObject* parent)
    : QObject(parent), m_settings(&settings), m_store(&store)
{}

AppSettings& AppDelegate::settings() const
{
    return m_settings ? *m_settings : AppSettings::shared();
}

ClipboardStore& AppDelegate::store() const
{
    return m_store ? *m_store : ClipboardStore::shared();
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    setupStatusItem();
    ClipboardMonitor::shared().start();
    QPointer<AppDelegate> self(this);
    HotkeyManager::shared().registerHandler([self] {
        // The press arrives inside the event dispatch; toggle after it has returned.
        QTimer::singleShot(0, [self] {
            if (self) {
                PopupWindowController::shared().toggle();
            }
        });
    });
}

void AppDelegate::applicationWillTerminate()
{
    if (m_terminated) {
        return;
    }
    m_terminated = true;
    if (settings().clearOnQuit()) {
        store().clearAll();
    }
    store().flush();
    ClipboardMonitor::shared().shutDown();
    HotkeyManager::shared().unregister();
}

void AppDelegate::setupStatusItem()
{
    m_statusItem = new QSystemTrayIcon(this);
    QIcon icon(QStringLiteral(":/resources/icons/doc.on.clipboard.svg"));
    // Lets the tray tint the symbol like the other monochrome status icons.
    icon.setIsMask(true);
    m_statusItem->setIcon(icon);
    m_statusItem->setToolTip(QStringLiteral("Stashwell"));
    connect(m_statusItem, &QSystemTrayIcon::activated, this, &AppDelegate::statusItemClicked);
    m_statusItem->show();
    // Stock GNOME shows no tray: the icon appears if a host starts later, and meanwhile the user
    // needs to know where the menu's commands went.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (SystemLog* log = Platform::current().log) {
            log->write(QStringLiteral("Stashwell: no system tray is running, so there is no tray icon: open the "
                                      "popup with the shortcut, start Stashwell again (or run stashwell --settings) "
                                      "for the settings, and run stashwell --quit to quit"));
        }
    }
}

AppDelegate::ClickAction AppDelegate::actionForActivation(QSystemTrayIcon::ActivationReason reason,
                                                          Qt::KeyboardModifiers modifiers)
{
    if (reason == QSystemTrayIcon::Context) {
        return ClickAction::OpenMenu;
    }
    // A click soon after another comes as a double click; with Control held it is still the menu's.
    const bool leftClick = reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick;
    if (leftClick && modifiers.testFlag(Qt::ControlModifier)) {
        return ClickAction::OpenMenu;
    }
    return ClickAction::TogglePopup;
}

void AppDelegate::statusItemClicked(QSystemTrayIcon::ActivationReason reason)
{
    // Qt reports a second click within the double-click interval as a double click: it is still a
    // click that closes what the first one opened.
    if (reason == QSystemTrayIcon::MiddleClick) {
        return;
    }
    if (actionForActivation(reason, QGuiApplication::queryKeyboardModifiers()) == ClickAction::TogglePopup) {
        toggleWindow();
        return;
    }
    // The menu lives only while it is open, so the next left click reaches us again.
    std::unique_ptr<QMenu> menu = buildMenu();
    menu->exec(QCursor::pos());
}

std::unique_ptr<QMenu> AppDelegate::buildMenu()
{
    auto menu = std::make_unique<QMenu>();
    // A key label "&" must not turn into a mnemonic marker.
    QString shortcut = settings().hotkeyShortcut().displayString();
    shortcut.replace(QLatin1Char('&'), QStringLiteral("&&"));
    menu->addAction(QStringLiteral("Show Clipboard (") + shortcut + QLatin1Char(')'), this, &AppDelegate::toggleWindow);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Settings\u2026"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                    &AppDelegate::openSettings);
    menu->addAction(QStringLiteral("Clear History"), this, &AppDelegate::clearHistory);
    menu->addSeparator();
    // exit(), not quit(): a quit can be refused by a window that ignores its close event.
    menu->addAction(QStringLiteral("Quit Stashwell"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp,
                    [] { QCoreApplication::exit(0); });
    return menu;
}

void AppDelegate::toggleWindow()
{
    PopupWindowController::shared().toggle();
}

void AppDelegate::openSettings()
{
    SettingsWindowController::shared().show();
}

void AppDelegate::clearHistory()
{
    store().clearAll();
}
