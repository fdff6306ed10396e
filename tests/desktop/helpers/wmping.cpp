// Measures how quickly a program's main thread answers: sends _NET_WM_PING to one of its windows
// every few milliseconds for a while and reports the slowest answer.
//
//   wmping WINDOW DURATION_MS [INTERVAL_MS]
//
// Prints "pings N answered A slowest_ms S" (an unanswered ping counts as slow as it stayed
// unanswered). Exits 1 when the window never answers.
#include "XcbHelpers.h"

#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <poll.h>
#include <xcb/xcb.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: wmping WINDOW DURATION_MS [INTERVAL_MS]\n");
        return 2;
    }
    const xcb_window_t target = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    const auto duration = std::chrono::milliseconds(std::atoi(argv[2]));
    const auto interval = std::chrono::milliseconds(argc > 3 ? std::atoi(argv[3]) : 20);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t protocols = helpers::atom(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = helpers::atom(c, "_NET_WM_PING");
    // Answers are sent to the root window for those that listen to its structure (the window manager
    // listens to its substructure; only one client may).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::map<std::uint32_t, Clock::time_point> pending;
    std::uint32_t serial = 1;
    int answered = 0;
    double slowest = 0;
    auto nextPing = start;
    while (Clock::now() < start + duration || (!pending.empty() && Clock::now() < start + duration * 2)) {
        const auto now = Clock::now();
        if (now >= nextPing && now < start + duration) {
            helpers::sendPing(c, target, protocols, ping, serial);
            pending[serial++] = now;
            nextPing = now + interval;
        }
        pollfd descriptor{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&descriptor, 1, 2);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                if (message->type == protocols && message->data.data32[0] == ping) {
                    const auto found = pending.find(message->data.data32[1]);
                    if (found != pending.end()) {
                        const double ms =
                            std::chrono::duration<double, std::milli>(Clock::now() - found->second).count();
                        slowest = std::max(slowest, ms);
                        ++answered;
                        pending.erase(found);
                    }
                }
            }
            std::free(event);
        }
    }
    for (const auto& [id, sent] : pending) {
        slowest = std::max(slowest, std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
    }
    std::printf("pings %u answered %d slowest_ms %.1f\n", serial - 1, answered, slowest);
    return answered > 0 ? 0 : 1;
}
