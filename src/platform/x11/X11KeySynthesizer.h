// The paste keystroke, posted with XTest.
#pragma once

#include "platform/KeySynthesizer.h"

class X11KeySynthesizer final : public KeySynthesizer
{
public:
    bool isTrusted(bool promptIfMissing) override;
    bool postPaste() override;
};
