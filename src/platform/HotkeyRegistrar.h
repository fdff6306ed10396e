// System-wide registration of one shortcut, with Carbon-style status codes.
#pragma once

#include <cstdint>
#include <functional>

class HotkeyRegistrar
{
public:
    // Status codes kept from the design: 0 is success, -9878 a shortcut that another program holds.
    static constexpr std::int32_t noErr = 0;
    static constexpr std::int32_t eventHotKeyExistsErr = -9878;
    static constexpr std::int32_t eventHotKeyInvalidErr = -9879;
    static constexpr std::int32_t eventInternalErr = -9868;

    virtual ~HotkeyRegistrar() = default;

    // Installs the one callback for presses of registered shortcuts. The callback is invoked from the
    // event dispatch; it must only schedule work.
    virtual std::int32_t installHandler(std::function<void()> onPressed) = 0;
    virtual void removeHandler() = 0;

    // keyCode is a macOS virtual key code; modifiers a Carbon mask (0x100 Command = Super,
    // 0x200 Shift, 0x800 Option = Alt, 0x1000 Control). `signature`/`id` identify the registration.
    virtual std::int32_t registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t signature,
                                        std::uint32_t id) = 0;
    virtual void unregisterHotKey() = 0;
};
