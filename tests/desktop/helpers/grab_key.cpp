// "Another application" that holds a global shortcut: grabs one key with modifiers on the root
// window and keeps it until it is ended.
//
//   grab_key <x-keycode> <modifier-mask>      (Super+Shift+V: 55 0x41)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: grab_key <x-keycode> <modifier-mask>\n");
        return 2;
    }
    const auto keycode = static_cast<xcb_keycode_t>(std::strtoul(argv[1], nullptr, 0));
    const auto modifiers = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 0));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_grab_key_checked(c, 0, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (error) {
        std::printf("error %d\n", error->error_code);
        std::free(error);
        return 1;
    }
    std::printf("grabbed\n");
    std::fflush(stdout);
    // Hold the grab; read events so the connection stays healthy.
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
