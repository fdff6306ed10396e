// The X server's keyboard mapping, read for the recorder's key labels, and the lock bit of key events.
#pragma once

#include "platform/KeyboardLayout.h"

class X11KeyboardLayout final : public KeyboardLayout
{
public:
    std::optional<std::uint32_t> baseKeysym(std::uint32_t nativeScanCode) override;
    bool isCapsLockOn(std::uint32_t nativeModifiers) const override;
};
