#include "platform/x11/X11CopyKeystroke.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace {
xkb_keysym_t baseSymbol(xkb_keymap* keymap, xkb_keycode_t keycode, xkb_layout_index_t layout)
{
    const xkb_keysym_t* symbols = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, keycode, layout, 0, &symbols) < 1) {
        return XKB_KEY_NoSymbol;
    }
    return symbols[0];
}

bool isLatinLetter(xkb_keysym_t symbol)
{
    return (symbol >= XKB_KEY_a && symbol <= XKB_KEY_z) || (symbol >= XKB_KEY_A && symbol <= XKB_KEY_Z);
}
} // namespace

X11CopyKeystroke::~X11CopyKeystroke()
{
    setKeymap(nullptr);
}

void X11CopyKeystroke::setKeymap(xkb_keymap* keymap)
{
    if (keymap) {
        xkb_keymap_ref(keymap);
    }
    if (m_keymap) {
        xkb_keymap_unref(m_keymap);
    }
    m_keymap = keymap;
}

X11CopyKeystroke::Role X11CopyKeystroke::roleOf(std::uint32_t keycode) const
{
    if (!m_keymap) {
        return Role::Other;
    }
    // Modifier keys sit at the same place in every layout; the first one says what they are.
    switch (baseSymbol(m_keymap, keycode, 0)) {
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
        return Role::Control;
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
    case XKB_KEY_Meta_L:
    case XKB_KEY_Meta_R:
        return Role::Alt;
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R:
    case XKB_KEY_Hyper_L:
    case XKB_KEY_Hyper_R:
        return Role::Super;
    default:
        return Role::Other;
    }
}

void X11CopyKeystroke::release(std::uint32_t keycode)
{
    const Role role = roleOf(keycode);
    // Only keys seen going down count, so a release whose press we missed cannot go negative.
    if (role == Role::Other || !m_keyDown[keycode & 0xff]) {
        return;
    }
    m_keyDown[keycode & 0xff] = false;
    --m_held[static_cast<int>(role)];
}

void X11CopyKeystroke::reset()
{
    m_held = {};
    m_keyDown = {};
}

bool X11CopyKeystroke::modifiersQualify() const
{
    return m_held[static_cast<int>(Role::Control)] > 0 && m_held[static_cast<int>(Role::Alt)] == 0 &&
           m_held[static_cast<int>(Role::Super)] == 0;
}

bool X11CopyKeystroke::typesCopyLetter(std::uint32_t keycode, xkb_layout_index_t layout) const
{
    if (!m_keymap) {
        return false;
    }
    const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(m_keymap, keycode);
    if (layouts == 0) {
        return false;
    }
    xkb_keysym_t symbol = baseSymbol(m_keymap, keycode, layout % layouts);
    if (!isLatinLetter(symbol)) {
        // In a layout without Latin letters (Cyrillic, Greek) applications take Control+key by the
        // Latin letter the key has in another layout, so the copy command stays where it was.
        for (xkb_layout_index_t other = 0; other < layouts; ++other) {
            const xkb_keysym_t candidate = baseSymbol(m_keymap, keycode, other);
            if (isLatinLetter(candidate)) {
                symbol = candidate;
                break;
            }
        }
    }
    const xkb_keysym_t lower = xkb_keysym_to_lower(symbol);
    return lower == XKB_KEY_c || lower == XKB_KEY_x;
}
