// Copy keystrokes seen through XInput2 raw key events, without taking them from anyone.
#pragma once

#include "platform/KeyTap.h"
#include "platform/x11/X11CopyKeystroke.h"

#include <QAbstractNativeEventFilter>
#include <cstdint>

class X11KeyTap final : public KeyTap, private QAbstractNativeEventFilter
{
public:
    X11KeyTap() = default;
    ~X11KeyTap() override;

    bool install(std::function<void()> onCopyKeystroke) override;
    void remove() override;
    bool isInstalled() const override { return m_installed; }

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool selectRawKeys(bool on);
    void loadKeymap();
    std::uint32_t currentLayout();

    std::function<void()> m_onCopy;
    bool m_installed = false;
    bool m_keymapStale = true;
    std::uint8_t m_inputOpcode = 0;
    std::uint8_t m_xkbEventBase = 0;
    xkb_context* m_context = nullptr;
    X11CopyKeystroke m_keys;
};
