// The virtual keyboard's own keymap: what a client that loads it sees for the paste keystrokes.
#include "platform/wayland/PasteKeymap.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

namespace {
// Replays the strokes as a receiving client does (keymap from the text, modifiers from the events)
// and returns the keysym and the active modifiers at the V press.
std::pair<xkb_keysym_t, std::uint32_t> keysymAtV(const PasteKeymap& keymap, bool withShift)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES);
    xkb_keymap* loaded = xkb_keymap_new_from_string(context, keymap.text().constData(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    EXPECT_NE(loaded, nullptr);
    xkb_state* state = xkb_state_new(loaded);
    std::pair<xkb_keysym_t, std::uint32_t> atV{XKB_KEY_NoSymbol, 0};
    std::uint32_t modifiers = 0;
    for (const PasteKeymap::Stroke& stroke : keymap.paste(withShift)) {
        const xkb_keysym_t keysym = xkb_state_key_get_one_sym(state, stroke.key + 8);
        modifiers = stroke.modifiers;
        xkb_state_update_mask(state, modifiers, 0, 0, 0, 0, 0);
        if (stroke.pressed && (keysym == XKB_KEY_v || keysym == XKB_KEY_V)) {
            atV = {xkb_state_key_get_one_sym(state, stroke.key + 8), modifiers};
        }
    }
    EXPECT_EQ(modifiers, 0u); // nothing stays held
    xkb_state_unref(state);
    xkb_keymap_unref(loaded);
    xkb_context_unref(context);
    return atV;
}
} // namespace

TEST(PasteKeymap, TypesControlVAndControlShiftVForTerminals)
{
    const auto keymap = PasteKeymap::build();
    ASSERT_TRUE(keymap);
    EXPECT_EQ(keymap->text().back(), '\0');

    const auto plain = keysymAtV(*keymap, false);
    EXPECT_EQ(plain.first, xkb_keysym_t(XKB_KEY_v));
    EXPECT_EQ(plain.second, keymap->controlMask());

    const auto terminal = keysymAtV(*keymap, true);
    EXPECT_EQ(terminal.first, xkb_keysym_t(XKB_KEY_V));
    EXPECT_EQ(terminal.second, keymap->controlMask() | keymap->shiftMask());
    EXPECT_EQ(keymap->paste(true).size(), 6);
}
