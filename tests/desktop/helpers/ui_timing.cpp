// Times how quickly a program answers keys: presses a key combination through XTest and watches for
// the window it opens, or pings the window the key went to.
//
//   ui_timing open KEYS PID WIDTH Y [TIMEOUT_MS]
//       presses KEYS (e.g. super+shift+v) and waits for a viewable window of process PID that is
//       WIDTH wide; prints "mapped_ms M settled_ms S window ID", S when its top edge reached Y
//       (root coordinates). Exits 1 on timeout (default 5000 ms).
//   ui_timing key KEYS WINDOW
//       presses KEYS and sends _NET_WM_PING to WINDOW at once, then again when answered; prints
//       "answered_ms A second_ms B": the main thread had handled the key by A, and by B what the
//       key made it post for later (a repaint, a filter run after the event). Exits 1 if a ping
//       stays unanswered for 10 s.
//
// Key names: super, shift, ctrl, alt, a single letter or digit, or an X keysym name that
// xcb-keysyms knows by number (Escape, BackSpace, Return, Left, Right, Delete).
#include "XcbHelpers.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace {
using Clock = std::chrono::steady_clock;
xcb_connection_t* c = nullptr;
xcb_window_t root = XCB_WINDOW_NONE;

using helpers::reply;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

xcb_keysym_t keysymFor(const QByteArray& name)
{
    static const QList<std::pair<QByteArray, xcb_keysym_t>> names = {
        {"super", 0xffeb},  {"shift", 0xffe1},     {"ctrl", 0xffe3},   {"alt", 0xffe9},
        {"Escape", 0xff1b}, {"BackSpace", 0xff08}, {"Return", 0xff0d}, {"Left", 0xff51},
        {"Right", 0xff53},  {"Delete", 0xffff},    {"space", 0x20},
    };
    for (const auto& [known, keysym] : names) {
        if (name == known) {
            return keysym;
        }
    }
    if (name.size() == 1) {
        return xcb_keysym_t(QByteArray(name).toLower().at(0));
    }
    std::fprintf(stderr, "ui_timing: unknown key %s\n", name.constData());
    std::exit(2);
}

// Presses the keys in order and releases them in reverse, as one combination.
void press(const QByteArray& keys)
{
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    QList<xcb_keycode_t> codes;
    for (const QByteArray& name : keys.split('+')) {
        xcb_keycode_t* found = xcb_key_symbols_get_keycode(symbols, keysymFor(name));
        if (!found || *found == XCB_NO_SYMBOL) {
            std::fprintf(stderr, "ui_timing: no key code for %s\n", name.constData());
            std::exit(2);
        }
        codes.append(*found);
        std::free(found);
    }
    xcb_key_symbols_free(symbols);
    for (const xcb_keycode_t code : codes) {
        xcb_test_fake_input(c, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, root, 0, 0, 0);
    }
    for (qsizetype i = codes.size() - 1; i >= 0; --i) {
        xcb_test_fake_input(c, XCB_KEY_RELEASE, codes[i], XCB_CURRENT_TIME, root, 0, 0, 0);
    }
    xcb_flush(c);
}

std::uint32_t pidOf(xcb_window_t window, xcb_atom_t pidAtom)
{
    auto property =
        reply(xcb_get_property_reply(c, xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!property || xcb_get_property_value_length(property.get()) < 4) {
        return 0;
    }
    return *static_cast<std::uint32_t*>(xcb_get_property_value(property.get()));
}

// The viewable window of the process that is `width` wide, among the top-level windows and their
// children (a window manager puts the program's windows in frames).
xcb_window_t findWindow(std::uint32_t pid, int width, xcb_atom_t pidAtom)
{
    auto top = reply(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!top) {
        return XCB_WINDOW_NONE;
    }
    QList<xcb_window_t> candidates;
    const xcb_window_t* children = xcb_query_tree_children(top.get());
    for (int i = 0; i < xcb_query_tree_children_length(top.get()); ++i) {
        candidates.append(children[i]);
        auto inner = reply(xcb_query_tree_reply(c, xcb_query_tree(c, children[i]), nullptr));
        if (inner) {
            const xcb_window_t* grandchildren = xcb_query_tree_children(inner.get());
            for (int j = 0; j < xcb_query_tree_children_length(inner.get()); ++j) {
                candidates.append(grandchildren[j]);
            }
        }
    }
    for (const xcb_window_t window : candidates) {
        auto attributes = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
            continue;
        }
        auto geometry = reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        if (geometry && geometry->width == width && pidOf(window, pidAtom) == pid) {
            return window;
        }
    }
    return XCB_WINDOW_NONE;
}

int topEdge(xcb_window_t window)
{
    auto position =
        reply(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr));
    return position ? position->dst_y : -1;
}

int open(const QByteArray& keys, std::uint32_t pid, int width, int y, int timeoutMs)
{
    const xcb_atom_t pidAtom = helpers::atom(c, "_NET_WM_PID");
    // Wait until any earlier panel of the process is gone, so the one found is the new one.
    const auto calm = Clock::now();
    while (findWindow(pid, width, pidAtom) != XCB_WINDOW_NONE) {
        if (msSince(calm) > timeoutMs) {
            std::fprintf(stderr, "ui_timing: a window %d wide is already open\n", width);
            return 1;
        }
    }
    const auto start = Clock::now();
    press(keys);
    xcb_window_t window = XCB_WINDOW_NONE;
    double mapped = -1;
    while (msSince(start) < timeoutMs) {
        if (window == XCB_WINDOW_NONE) {
            window = findWindow(pid, width, pidAtom);
            if (window == XCB_WINDOW_NONE) {
                continue;
            }
            mapped = msSince(start);
        }
        if (topEdge(window) == y) {
            std::printf("mapped_ms %.1f settled_ms %.1f window %u\n", mapped, msSince(start), window);
            return 0;
        }
    }
    std::printf("mapped_ms %.1f settled_ms - window %u\n", mapped, window);
    return 1;
}

int key(const QByteArray& keys, xcb_window_t window)
{
    const xcb_atom_t protocols = helpers::atom(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = helpers::atom(c, "_NET_WM_PING");
    // The answer goes to the root window, to those that listen to its structure.
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const auto sendPing = [&](std::uint32_t serial) { helpers::sendPing(c, window, protocols, ping, serial); };
    const auto start = Clock::now();
    press(keys);
    sendPing(1);
    double answers[2] = {-1, -1};
    while (answers[1] < 0 && msSince(start) < 10000) {
        pollfd descriptor{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&descriptor, 1, 5);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> holder(event, &std::free);
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
                continue;
            }
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type != protocols || message->data.data32[0] != ping) {
                continue;
            }
            const std::uint32_t serial = message->data.data32[1];
            if (serial == 1 && answers[0] < 0) {
                answers[0] = msSince(start);
                sendPing(2);
            } else if (serial == 2) {
                answers[1] = msSince(start);
            }
        }
    }
    std::printf("answered_ms %.1f second_ms %.1f\n", answers[0], answers[1]);
    return answers[1] < 0 ? 1 : 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: ui_timing open KEYS PID WIDTH Y [TIMEOUT_MS] | key KEYS WINDOW\n");
        return 2;
    }
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "ui_timing: no X display\n");
        return 2;
    }
    root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const QByteArray mode = argv[1];
    if (mode == "open" && argc >= 6) {
        return open(argv[2], std::uint32_t(std::strtoul(argv[3], nullptr, 10)), std::atoi(argv[4]), std::atoi(argv[5]),
                    argc > 6 ? std::atoi(argv[6]) : 5000);
    }
    if (mode == "key") {
        return key(argv[2], xcb_window_t(std::strtoul(argv[3], nullptr, 0)));
    }
    std::fprintf(stderr, "ui_timing: unknown mode %s\n", mode.constData());
    return 2;
}
