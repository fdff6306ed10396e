// "Another application" that reads several targets of CLIPBOARD in one MULTIPLE request and prints,
// for each, its size or "refused".
//
//   read_multiple <target>...
#include "XcbHelpers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: read_multiple <target>...\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);

    std::vector<xcb_atom_t> pairs;
    for (int i = 1; i < argc; ++i) {
        char property[32];
        std::snprintf(property, sizeof property, "READ_MULTIPLE_%d", i);
        pairs.push_back(helpers::atom(c, argv[i]));
        pairs.push_back(helpers::atom(c, property));
    }
    const xcb_atom_t multiple = helpers::atom(c, "MULTIPLE");
    const xcb_atom_t pairsProperty = helpers::atom(c, "READ_MULTIPLE_PAIRS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, pairsProperty, helpers::atom(c, "ATOM_PAIR"), 32,
                        static_cast<uint32_t>(pairs.size()), pairs.data());
    xcb_convert_selection(c, window, helpers::atom(c, "CLIPBOARD"), multiple, pairsProperty, XCB_CURRENT_TIME);
    xcb_flush(c);

    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool done = (event->response_type & 0x7f) == XCB_SELECTION_NOTIFY;
        if (done) {
            const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
            if (notify->property == XCB_ATOM_NONE) {
                std::printf("refused\n");
                return 1;
            }
            xcb_get_property_reply_t* answer = xcb_get_property_reply(
                c, xcb_get_property(c, 0, window, pairsProperty, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
            const auto* served = static_cast<const xcb_atom_t*>(xcb_get_property_value(answer));
            const int count = xcb_get_property_value_length(answer) / 4;
            for (int i = 0; i + 1 < count; i += 2) {
                if (served[i + 1] == XCB_ATOM_NONE) {
                    std::printf("%s refused\n", argv[1 + i / 2]);
                    continue;
                }
                xcb_get_property_reply_t* value = xcb_get_property_reply(
                    c, xcb_get_property(c, 0, window, served[i + 1], XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr);
                std::printf("%s %d\n", argv[1 + i / 2], value ? xcb_get_property_value_length(value) : -1);
                std::free(value);
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
