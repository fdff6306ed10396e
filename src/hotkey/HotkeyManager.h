// Owns the one system-wide shortcut and calls its handler on the main thread when it is pressed.
#pragma once

#include <cstdint>
#include <functional>

class HotkeyManager
{
public:
    static HotkeyManager& shared();

    // ("register" is a C++ keyword.)
    std::int32_t registerHandler(std::function<void()> handler);
    std::int32_t reloadShortcut();
    void suspendShortcut();
    std::int32_t resumeShortcut();
    void unregister();
};
