// "Another application" that reads several targets of CLIPBOARD in one MULTIPLE request and prints,
// for each, its size or "refused".
//
//   read_multiple <target>...
//   read_multiple --repeat N <target>      asks for the target N times, all into one property, and
//                                          prints "answered_ms T served S refused R"
//   read_multiple --requestor WINDOW <target>...
//                                          asks in the name of another program's window and prints
//                                          "answered" once the owner has written its answer there
#include "XcbHelpers.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace {
int usage()
{
    std::fprintf(stderr, "usage: read_multiple [--repeat N | --requestor WINDOW] <target>...\n");
    return 2;
}

// The owner rewrites the pairs once it has served them; the requestor's creator gets the notify.
int waitForAnswerOn(xcb_connection_t* c, xcb_window_t window, xcb_atom_t pairsProperty)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
        const bool answered = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && notify->window == window &&
                              notify->atom == pairsProperty && notify->state == XCB_PROPERTY_NEW_VALUE;
        std::free(event);
        if (answered) {
            std::printf("answered\n");
            return 0;
        }
    }
    std::printf("unanswered\n");
    return 1;
}
} // namespace

int main(int argc, char* argv[])
{
    int repeat = 0;
    xcb_window_t requestor = XCB_WINDOW_NONE;
    int first = 1;
    for (; first + 1 < argc && argv[first][0] == '-'; first += 2) {
        if (std::strcmp(argv[first], "--repeat") == 0) {
            repeat = std::atoi(argv[first + 1]);
        } else if (std::strcmp(argv[first], "--requestor") == 0) {
            requestor = xcb_window_t(std::strtoul(argv[first + 1], nullptr, 0));
        } else {
            return usage();
        }
    }
    if (first >= argc) {
        return usage();
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t window = requestor;
    if (window == XCB_WINDOW_NONE) {
        window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
    }

    std::vector<xcb_atom_t> pairs;
    for (int i = first; i < argc; ++i) {
        char property[32];
        std::snprintf(property, sizeof property, "READ_MULTIPLE_%d", i);
        for (int n = 0; n < (repeat > 0 ? repeat : 1); ++n) {
            pairs.push_back(helpers::atom(c, argv[i]));
            pairs.push_back(helpers::atom(c, property));
        }
    }
    const xcb_atom_t multiple = helpers::atom(c, "MULTIPLE");
    const xcb_atom_t pairsProperty = helpers::atom(c, "READ_MULTIPLE_PAIRS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, pairsProperty, helpers::atom(c, "ATOM_PAIR"), 32,
                        static_cast<uint32_t>(pairs.size()), pairs.data());
    if (requestor != XCB_WINDOW_NONE) {
        // Our own interest in that window's properties, selected after our own write: only the
        // owner's answer is reported.
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    }
    const auto asked = std::chrono::steady_clock::now();
    xcb_convert_selection(c, window, helpers::atom(c, "CLIPBOARD"), multiple, pairsProperty, XCB_CURRENT_TIME);
    xcb_flush(c);
    if (requestor != XCB_WINDOW_NONE) {
        return waitForAnswerOn(c, window, pairsProperty);
    }

    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool done = (event->response_type & 0x7f) == XCB_SELECTION_NOTIFY;
        if (done) {
            const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
            if (notify->property == XCB_ATOM_NONE) {
                std::printf("refused\n");
                return 1;
            }
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - asked).count();
            xcb_get_property_reply_t* answer = xcb_get_property_reply(
                c, xcb_get_property(c, 0, window, pairsProperty, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr);
            const auto* served = answer ? static_cast<const xcb_atom_t*>(xcb_get_property_value(answer)) : nullptr;
            const int count = answer ? xcb_get_property_value_length(answer) / 4 : 0;
            int servedCount = 0;
            for (int i = 0; i + 1 < count; i += 2) {
                servedCount += served[i + 1] != XCB_ATOM_NONE;
                if (repeat > 0) {
                    continue;
                }
                if (served[i + 1] == XCB_ATOM_NONE) {
                    std::printf("%s refused\n", argv[first + i / 2]);
                    continue;
                }
                xcb_get_property_reply_t* value = xcb_get_property_reply(
                    c, xcb_get_property(c, 0, window, served[i + 1], XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr);
                std::printf("%s %d\n", argv[first + i / 2], value ? xcb_get_property_value_length(value) : -1);
                std::free(value);
            }
            if (repeat > 0) {
                std::printf("answered_ms %.0f served %d refused %d\n", ms, servedCount, count / 2 - servedCount);
            }
            std::free(answer);
        }
        std::free(event);
        if (done) {
            break;
        }
    }
    xcb_disconnect(c);
    return 0;
}
