// Copy keystrokes seen through XInput2 raw key events, without taking them from anyone.
#pragma once

#include "platform/KeyTap.h"

class X11KeyTap final : public KeyTap
{
public:
    bool install(std::function<void()> onCopyKeystroke) override;
    void remove() override;
    bool isInstalled() const override { return false; }
};
