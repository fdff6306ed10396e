#include "hotkey/HotkeyManager.h"

#include "platform/HotkeyRegistrar.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/SystemLog.h"
#include "settings/AppSettings.h"

HotkeyManager::HotkeyManager(HotkeyRegistrar& registrar, Scheduler& scheduler, SystemLog& log,
                             std::function<HotkeyShortcut()> configuredShortcut)
    : m_registrar(registrar), m_scheduler(scheduler), m_log(log), m_configuredShortcut(std::move(configuredShortcut)),
      m_self(std::make_shared<HotkeyManager*>(this))
{}

HotkeyManager::~HotkeyManager()
{
    unregister();
}

HotkeyManager& HotkeyManager::shared()
{
    static HotkeyManager* manager = [] {
        const Platform& platform = Platform::current();
        return new HotkeyManager(*platform.hotkeys, *platform.scheduler, *platform.log,
                                 [] { return AppSettings::shared().hotkeyShortcut(); });
    }();
    return *manager;
}

std::int32_t HotkeyManager::registerHandler(std::function<void()> handler)
{
    unregister();
    m_handler = std::move(handler);

    // The press arrives inside the desktop's event dispatch: only queue the work there, and look the
    // closure up when the queued call runs, so a handler replaced meanwhile is the one called.
    std::weak_ptr<HotkeyManager*> weakSelf = m_self;
    const std::int32_t status = m_registrar.installHandler([this, weakSelf] {
        if (weakSelf.expired()) {
            return;
        }
        m_scheduler.schedule(0, [weakSelf] {
            const auto self = weakSelf.lock();
            if (self && (*self)->m_handler) {
                // A copy: the handler may register a new one while it runs.
                const auto current = (*self)->m_handler;
                current();
            }
        });
    });
    if (status != HotkeyRegistrar::noErr) {
        m_log.write(QStringLiteral("Stashwell: failed to install hotkey handler: ") + QString::number(status));
        return status;
    }
    m_hasEventHandler = true;
    return registerConfiguredShortcut();
}

std::int32_t HotkeyManager::registerConfiguredShortcut()
{
    const HotkeyShortcut shortcut = m_configuredShortcut();
    m_hasHotKey = false;
    const std::int32_t status =
        m_registrar.registerHotKey(shortcut.keyCode, shortcut.carbonModifiers, hotKeySignature, hotKeyID);
    if (status != HotkeyRegistrar::noErr) {
        m_log.write(QStringLiteral("Stashwell: failed to register hotkey ") + shortcut.displayString() +
                    QStringLiteral(": ") + QString::number(status));
        return status;
    }
    m_hasHotKey = true;
    return status;
}

void HotkeyManager::dropHotKey()
{
    if (m_hasHotKey) {
        m_registrar.unregisterHotKey();
        m_hasHotKey = false;
    }
}

std::int32_t HotkeyManager::reloadShortcut()
{
    dropHotKey();
    if (m_handler && m_hasEventHandler) {
        return registerConfiguredShortcut();
    }
    return HotkeyRegistrar::noErr;
}

void HotkeyManager::suspendShortcut()
{
    dropHotKey();
}

std::int32_t HotkeyManager::resumeShortcut()
{
    return reloadShortcut();
}

void HotkeyManager::unregister()
{
    dropHotKey();
    if (m_hasEventHandler) {
        m_registrar.removeHandler();
        m_hasEventHandler = false;
    }
    m_handler = nullptr;
}
