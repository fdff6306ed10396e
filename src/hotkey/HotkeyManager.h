// Owns the one system-wide shortcut and calls its handler on the main thread when it is pressed.
#pragma once

#include "hotkey/HotkeyShortcut.h"

#include <cstdint>
#include <functional>
#include <memory>

class HotkeyRegistrar;
class Scheduler;
class SystemLog;

class HotkeyManager
{
public:
    // The registration's identifier: the four characters "STWL" read as a big-endian number, and 1.
    static constexpr std::uint32_t hotKeySignature = 0x5354574C;
    static constexpr std::uint32_t hotKeyID = 1;

    // `configuredShortcut` is read afresh at every registration.
    HotkeyManager(HotkeyRegistrar& registrar, Scheduler& scheduler, SystemLog& log,
                  std::function<HotkeyShortcut()> configuredShortcut);
    ~HotkeyManager();
    HotkeyManager(const HotkeyManager&) = delete;
    HotkeyManager& operator=(const HotkeyManager&) = delete;

    // The program's one manager, over the installed platform and the shared settings.
    static HotkeyManager& shared();

    // Replaces any earlier registration, installs the press handler and registers the configured
    // shortcut. ("register" is a C++ keyword.)
    std::int32_t registerHandler(std::function<void()> handler);
    // Registers the configured shortcut again; does nothing and reports success before a handler is in place.
    std::int32_t reloadShortcut();
    // Drops the shortcut only; the handler stays for resumeShortcut().
    void suspendShortcut();
    std::int32_t resumeShortcut();
    // Drops the shortcut, the press handler and the closure.
    void unregister();

    bool hasRegisteredShortcut() const { return m_hasHotKey; }

private:
    std::int32_t registerConfiguredShortcut();
    void dropHotKey();

    HotkeyRegistrar& m_registrar;
    Scheduler& m_scheduler;
    SystemLog& m_log;
    std::function<HotkeyShortcut()> m_configuredShortcut;

    bool m_hasHotKey = false;
    bool m_hasEventHandler = false;
    std::function<void()> m_handler;
    // Presses queued before the manager went away find this expired and do nothing.
    std::shared_ptr<HotkeyManager*> m_self;
};
