#include "platform/x11/X11HotkeyRegistrar.h"

std::int32_t X11HotkeyRegistrar::installHandler(std::function<void()>)
{
    return noErr;
}

void X11HotkeyRegistrar::removeHandler() {}

std::int32_t X11HotkeyRegistrar::registerHotKey(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t)
{
    return eventInternalErr;
}

void X11HotkeyRegistrar::unregisterHotKey() {}
