// The virtual keyboard's own keymap: only the keys a paste needs (Control, Shift, V), compiled by
// xkbcommon from text of our own, so no system keyboard data is needed and the user's layout
// cannot move the V.
#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <optional>

class PasteKeymap
{
public:
    // One key event of the paste, with the modifier state that holds after it.
    struct Stroke
    {
        std::uint32_t key = 0; // evdev code, as the virtual keyboard takes it
        bool pressed = false;
        std::uint32_t modifiers = 0; // depressed-modifier mask after this event
    };

    // Nothing when xkbcommon cannot compile the keymap.
    static std::optional<PasteKeymap> build();

    // The compiled keymap as text (XKB v1 format, ending in NUL), as the compositor is given it.
    const QByteArray& text() const { return m_text; }

    // Control+V, or Control+Shift+V for terminals; every key pressed is let go again.
    QList<Stroke> paste(bool withShift) const;

    std::uint32_t controlMask() const { return m_controlMask; }
    std::uint32_t shiftMask() const { return m_shiftMask; }

private:
    QByteArray m_text;
    std::uint32_t m_controlKey = 0;
    std::uint32_t m_shiftKey = 0;
    std::uint32_t m_vKey = 0;
    std::uint32_t m_controlMask = 0;
    std::uint32_t m_shiftMask = 0;
};
