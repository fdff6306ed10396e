// "Another application" that holds a global shortcut: grabs one key with modifiers on the root
// window and keeps it until it is ended. With --probe it only tells whether some X client holds the
// combination: prints "taken" and exits 1 when the server answers BadAccess, else releases it,
// prints "free" and exits 0 ("error" and 2 for any other failure).
//
//   grab_key [--probe] <x-keycode> <modifier-mask>      (Super+Shift+V: 55 0x41)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

int main(int argc, char* argv[])
{
    const bool probe = argc == 4 && std::strcmp(argv[1], "--probe") == 0;
    if (argc != 3 && !probe) {
        std::fprintf(stderr, "usage: grab_key [--probe] <x-keycode> <modifier-mask>\n");
        return 2;
    }
    const auto keycode = static_cast<xcb_keycode_t>(std::strtoul(argv[argc - 2], nullptr, 0));
    const auto modifiers = static_cast<std::uint16_t>(std::strtoul(argv[argc - 1], nullptr, 0));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no display\n");
        return probe ? 2 : 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_grab_key_checked(c, probe ? 1 : 0, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (probe) {
        const bool taken = error && error->error_code == 10; // BadAccess: another client holds it
        const bool failed = error && !taken;
        if (!error) {
            xcb_ungrab_key(c, keycode, root, modifiers);
            xcb_flush(c);
        }
        std::free(error);
        xcb_disconnect(c);
        std::puts(taken ? "taken" : (failed ? "error" : "free"));
        return taken ? 1 : (failed ? 2 : 0);
    }
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
