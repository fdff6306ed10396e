// The global shortcut as key grabs on the root window.
#pragma once

#include "platform/HotkeyRegistrar.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <optional>
#include <xcb/xcb.h>

class X11HotkeyRegistrar final : public HotkeyRegistrar, private QAbstractNativeEventFilter
{
public:
    X11HotkeyRegistrar() = default;
    ~X11HotkeyRegistrar() override;

    std::int32_t installHandler(std::function<void()> onPressed) override;
    void removeHandler() override;
    std::int32_t registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t signature,
                                std::uint32_t id) override;
    void unregisterHotKey() override;

    // X modifier bits for a Carbon mask: Command is Super (Mod4), Option is Alt (Mod1).
    static std::uint16_t xModifiersForCarbon(std::uint32_t carbonModifiers);

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void ungrab();

    struct Grab
    {
        xcb_window_t root;
        xcb_keycode_t keycode;
        std::uint16_t modifiers;
        std::uint16_t ignoredLocks; // Caps Lock and Num Lock bits, whatever state they are in
        QList<std::uint16_t> lockCombinations;
    };

    std::function<void()> m_onPressed;
    bool m_filterInstalled = false;
    std::optional<Grab> m_grab;
    // Telling a held key's repeats from a new press.
    bool m_keyDown = false;
    xcb_timestamp_t m_lastPressTime = 0;
    xcb_timestamp_t m_lastReleaseTime = 0;
};
