// The paste keystroke in a Wayland session, typed through a virtual keyboard with our own keymap:
// Control+V, or Control+Shift+V when the activated toplevel is a terminal.
#pragma once

#include "platform/KeySynthesizer.h"
#include "platform/wayland/PasteKeymap.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class WaylandConnection;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

class WaylandKeySynthesizer final : public KeySynthesizer
{
public:
    // Before the connection starts. `front` tells the activated toplevel now (its handle and raw
    // app id), nothing when none is.
    struct Front
    {
        std::uint64_t handle = 0;
        QString appId;
    };
    WaylandKeySynthesizer(WaylandConnection& connection, std::function<std::optional<Front>()> front);
    ~WaylandKeySynthesizer() override;

    // "zwp_virtual_keyboard_manager_v1 v1"; empty without it.
    QByteArray protocol() const { return m_protocol; }

    // False when the compositor offers no virtual keyboard: there is nothing to ask the user for.
    bool isTrusted(bool promptIfMissing) override;
    void postPaste(const RunningApplication& target, std::function<void(PasteOutcome)> done) override;

    // The virtual keyboard's keys reach the focused client only after it has been sent the keymap:
    // the keys follow the first event by this long.
    static constexpr int keymapSettleMs = 30;

private:
    void teardown();

    WaylandConnection& m_connection;
    std::function<std::optional<Front>()> m_front;
    std::optional<PasteKeymap> m_keymap;
    zwp_virtual_keyboard_manager_v1* m_manager = nullptr;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr;
    QByteArray m_protocol;
};
