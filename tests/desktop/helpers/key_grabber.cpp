// Plays "another program" for shortcut tests: holds a key combination on the root window, or
// probes whether some client already holds one.
//   key_grabber hold <X keycode> <X modifier mask>    grabs it, prints "held", waits for SIGTERM
//   key_grabber probe <X keycode> <X modifier mask>   prints "taken" (exit 1) or "free" (exit 0)
// Masks: Shift 1, Control 4, Mod1 (Alt) 8, Mod4 (Super) 64.
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopRequested = 0;

void stop(int)
{
    stopRequested = 1;
}

// Whether the grab succeeded; BadAccess (10) means another client holds the combination.
bool grab(xcb_connection_t* connection, xcb_window_t root, xcb_keycode_t key, std::uint16_t modifiers, bool* taken)
{
    const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection, 1, root, modifiers, key, XCB_GRAB_MODE_ASYNC,
                                                          XCB_GRAB_MODE_ASYNC);
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(xcb_request_check(connection, cookie),
                                                                     &std::free);
    *taken = error && error->error_code == 10;
    return !error;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[1], "hold") != 0 && std::strcmp(argv[1], "probe") != 0)) {
        std::fprintf(stderr, "usage: %s hold|probe <keycode> <modifier mask>\n", argv[0]);
        return 2;
    }
    const auto key = static_cast<xcb_keycode_t>(std::atoi(argv[2]));
    const auto modifiers = static_cast<std::uint16_t>(std::atoi(argv[3]));
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    bool taken = false;
    const bool grabbed = grab(connection, root, key, modifiers, &taken);

    if (std::strcmp(argv[1], "probe") == 0) {
        if (grabbed) {
            xcb_ungrab_key(connection, key, root, modifiers);
            xcb_flush(connection);
        }
        std::puts(grabbed ? "free" : (taken ? "taken" : "error"));
        xcb_disconnect(connection);
        return grabbed ? 0 : 1;
    }

    if (!grabbed) {
        std::puts(taken ? "taken" : "error");
        xcb_disconnect(connection);
        return 1;
    }
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    std::puts("held");
    std::fflush(stdout);
    while (!stopRequested) {
        usleep(50 * 1000);
        // Drain events so the connection stays healthy.
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            std::free(event);
        }
    }
    xcb_disconnect(connection);
    return 0;
}
