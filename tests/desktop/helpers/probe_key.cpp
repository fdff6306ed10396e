// Tells whether some X client holds a key combination on the root window, by trying to grab it:
// prints "taken" and exits 1 when the server answers BadAccess, else releases it, prints "free" and
// exits 0.
//
//   probe_key <x-keycode> <modifier-mask>      (Super+Shift+V: 55 0x41)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: probe_key <x-keycode> <modifier-mask>\n");
        return 2;
    }
    const auto keycode = static_cast<xcb_keycode_t>(std::strtoul(argv[1], nullptr, 0));
    const auto modifiers = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 0));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_grab_key_checked(c, 1, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool taken = error && error->error_code == 10; // BadAccess: another client holds it
    const bool failed = error && !taken;
    std::free(error);
    if (!error) {
        xcb_ungrab_key(c, keycode, root, modifiers);
        xcb_flush(c);
    }
    xcb_disconnect(c);
    std::puts(taken ? "taken" : (failed ? "error" : "free"));
    return taken ? 1 : (failed ? 2 : 0);
}
