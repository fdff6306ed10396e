// Tells copy keystrokes apart in a stream of raw key presses and releases, which carry no modifier
// state: Control held, Alt and Super not, on the key that types "c" or "x" in the current layout.
#pragma once

#include <array>
#include <cstdint>
#include <xkbcommon/xkbcommon.h>

class X11CopyKeystroke
{
public:
    X11CopyKeystroke() = default;
    ~X11CopyKeystroke();
    X11CopyKeystroke(const X11CopyKeystroke&) = delete;
    X11CopyKeystroke& operator=(const X11CopyKeystroke&) = delete;

    // Takes a reference to the keymap (nullptr forgets it); held keys are kept.
    void setKeymap(xkb_keymap* keymap);
    bool hasKeymap() const { return m_keymap != nullptr; }

    // Whether the key press, with the modifiers held now, is a copy keystroke. `layout` is only
    // asked for (it may cost a round trip) when the modifiers already qualify.
    template <typename LayoutFn> bool press(std::uint32_t keycode, LayoutFn layout)
    {
        const Role role = roleOf(keycode);
        if (role != Role::Other) {
            // A held key repeats its press; it still counts once until released.
            if (!m_keyDown[keycode & 0xff]) {
                m_keyDown[keycode & 0xff] = true;
                ++m_held[static_cast<int>(role)];
            }
            return false;
        }
        return modifiersQualify() && typesCopyLetter(keycode, layout());
    }
    void release(std::uint32_t keycode);
    // Forgets the held modifiers (when presses or releases may have been missed).
    void reset();

    bool typesCopyLetter(std::uint32_t keycode, xkb_layout_index_t layout) const;

private:
    enum class Role { Control, Alt, Super, Other };
    Role roleOf(std::uint32_t keycode) const;
    bool modifiersQualify() const;

    xkb_keymap* m_keymap = nullptr;
    std::array<int, 3> m_held{};
    std::array<bool, 256> m_keyDown{};
};
