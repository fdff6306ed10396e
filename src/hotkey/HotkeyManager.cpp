#include "hotkey/HotkeyManager.h"

HotkeyManager& HotkeyManager::shared()
{
    static HotkeyManager manager;
    return manager;
}

std::int32_t HotkeyManager::registerHandler(std::function<void()>)
{
    return 0;
}

std::int32_t HotkeyManager::reloadShortcut()
{
    return 0;
}

void HotkeyManager::suspendShortcut() {}

std::int32_t HotkeyManager::resumeShortcut()
{
    return reloadShortcut();
}

void HotkeyManager::unregister() {}
