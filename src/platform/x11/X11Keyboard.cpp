#include "platform/x11/X11Keyboard.h"

#include "platform/x11/X11Connection.h"

#include <xcb/xcb_keysyms.h>

namespace {
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)>;

KeySymbols keySymbols(xcb_connection_t* connection)
{
    return KeySymbols(xcb_key_symbols_alloc(connection), &xcb_key_symbols_free);
}

QList<xcb_keycode_t> keycodesFor(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    QList<xcb_keycode_t> result;
    const KeySymbols symbols = keySymbols(connection);
    if (!symbols) {
        return result;
    }
    xcb_keycode_t* found = xcb_key_symbols_get_keycode(symbols.get(), keysym);
    for (xcb_keycode_t* code = found; code && *code != XCB_NO_SYMBOL; ++code) {
        result.append(*code);
    }
    std::free(found);
    return result;
}

// The modifier mapping as eight rows (Shift, Lock, Control, Mod1..Mod5) of keycodes.
QList<QList<xcb_keycode_t>> modifierRows(xcb_connection_t* connection)
{
    QList<QList<xcb_keycode_t>> rows(8);
    const auto reply =
        xcbPtr(xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!reply) {
        return rows;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code != 0) {
                rows[modifier].append(code);
            }
        }
    }
    return rows;
}
} // namespace

std::uint16_t X11Keyboard::numLockMask(xcb_connection_t* connection)
{
    if (!connection) {
        return 0;
    }
    const QList<xcb_keycode_t> numLockKeys = keycodesFor(connection, keysymNumLock);
    const QList<QList<xcb_keycode_t>> rows = modifierRows(connection);
    for (int modifier = 3; modifier < 8; ++modifier) { // Mod1..Mod5
        for (const xcb_keycode_t code : rows[modifier]) {
            if (numLockKeys.contains(code)) {
                return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return 0;
}

QList<xcb_keycode_t> X11Keyboard::modifierKeycodes(xcb_connection_t* connection)
{
    QList<xcb_keycode_t> result;
    if (!connection) {
        return result;
    }
    for (const auto& row : modifierRows(connection)) {
        result.append(row);
    }
    return result;
}

std::optional<xcb_keycode_t> X11Keyboard::keycodeForKeysym(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    if (!connection) {
        return std::nullopt;
    }
    const QList<xcb_keycode_t> codes = keycodesFor(connection, keysym);
    if (codes.isEmpty()) {
        return std::nullopt;
    }
    return codes.first();
}

bool X11Keyboard::isMappedKeycode(xcb_connection_t* connection, xcb_keycode_t keycode)
{
    if (!connection) {
        return false;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (keycode < setup->min_keycode || keycode > setup->max_keycode) {
        return false;
    }
    const auto reply =
        xcbPtr(xcb_get_keyboard_mapping_reply(connection, xcb_get_keyboard_mapping(connection, keycode, 1), nullptr));
    if (!reply) {
        return false;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int count = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    for (int i = 0; i < count; ++i) {
        if (keysyms[i] != XCB_NO_SYMBOL) {
            return true;
        }
    }
    return false;
}
