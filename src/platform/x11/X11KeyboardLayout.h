// The X server's keyboard mapping, read for the recorder's key labels.
#pragma once

#include "platform/KeyboardLayout.h"

class X11KeyboardLayout final : public KeyboardLayout
{
public:
    std::optional<std::uint32_t> baseKeysym(std::uint32_t nativeScanCode) override;
};
