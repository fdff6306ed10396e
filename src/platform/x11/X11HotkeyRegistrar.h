// The global shortcut as key grabs on the root window.
#pragma once

#include "platform/HotkeyRegistrar.h"

class X11HotkeyRegistrar final : public HotkeyRegistrar
{
public:
    std::int32_t installHandler(std::function<void()> onPressed) override;
    void removeHandler() override;
    std::int32_t registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t signature,
                                std::uint32_t id) override;
    void unregisterHotKey() override;
};
