#include "platform/wayland/PasteKeymap.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xkbcommon/xkbcommon.h>

namespace {
// XKB keycodes are evdev codes plus 8.
constexpr std::uint32_t evdevOffset = 8;
constexpr std::uint32_t leftControl = 37;
constexpr std::uint32_t leftShift = 50;
constexpr std::uint32_t letterV = 55;

constexpr const char* keymapSource = R"(xkb_keymap {
    xkb_keycodes "stashwell" {
        minimum = 8;
        maximum = 255;
        <LCTL> = 37;
        <LFSH> = 50;
        <AB04> = 55;
    };
    xkb_types "stashwell" {
        type "ONE_LEVEL" {
            modifiers = none;
            level_name[Level1] = "Any";
        };
        type "ALPHABETIC" {
            modifiers = Shift + Lock;
            map[Shift] = Level2;
            map[Lock] = Level2;
            level_name[Level1] = "Base";
            level_name[Level2] = "Caps";
        };
    };
    xkb_compatibility "stashwell" {
        interpret Shift_L { action = SetMods(modifiers = Shift); };
        interpret Control_L { action = SetMods(modifiers = Control); };
    };
    xkb_symbols "stashwell" {
        key <LCTL> { type = "ONE_LEVEL", [ Control_L ] };
        key <LFSH> { type = "ONE_LEVEL", [ Shift_L ] };
        key <AB04> { type = "ALPHABETIC", [ v, V ] };
        modifier_map Control { <LCTL> };
        modifier_map Shift { <LFSH> };
    };
};
)";

struct ContextDeleter
{
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapDeleter
{
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
} // namespace

std::optional<PasteKeymap> PasteKeymap::build()
{
    // No include paths, no environment: nothing of the system's keyboard data is read.
    const std::unique_ptr<xkb_context, ContextDeleter> context(
        xkb_context_new(xkb_context_flags(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES)));
    if (!context) {
        return std::nullopt;
    }
    const std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(xkb_keymap_new_from_string(
        context.get(), keymapSource, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) {
        return std::nullopt;
    }
    const xkb_mod_index_t control = xkb_keymap_mod_get_index(keymap.get(), XKB_MOD_NAME_CTRL);
    const xkb_mod_index_t shift = xkb_keymap_mod_get_index(keymap.get(), XKB_MOD_NAME_SHIFT);
    char* text = xkb_keymap_get_as_string(keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1);
    if (!text || control == XKB_MOD_INVALID || shift == XKB_MOD_INVALID) {
        free(text);
        return std::nullopt;
    }
    PasteKeymap result;
    result.m_text = QByteArray(text, qsizetype(std::strlen(text)) + 1);
    free(text);
    result.m_controlKey = leftControl - evdevOffset;
    result.m_shiftKey = leftShift - evdevOffset;
    result.m_vKey = letterV - evdevOffset;
    result.m_controlMask = 1u << control;
    result.m_shiftMask = 1u << shift;
    return result;
}

QList<PasteKeymap::Stroke> PasteKeymap::paste(bool withShift) const
{
    const std::uint32_t held = m_controlMask | (withShift ? m_shiftMask : 0);
    QList<Stroke> strokes;
    strokes.append({m_controlKey, true, m_controlMask});
    if (withShift) {
        strokes.append({m_shiftKey, true, held});
    }
    strokes.append({m_vKey, true, held});
    strokes.append({m_vKey, false, held});
    if (withShift) {
        strokes.append({m_shiftKey, false, m_controlMask});
    }
    strokes.append({m_controlKey, false, 0});
    return strokes;
}
