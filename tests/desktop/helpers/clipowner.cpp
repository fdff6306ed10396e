// Plays another application's clipboard: owns CLIPBOARD with any number of targets at once, serves
// large ones incrementally, and can misbehave (never answer, die mid-transfer). It can also show a
// window with a chosen WM_CLASS and _GTK_APPLICATION_ID, to stand for an application in front.
//
//   clipowner [--target NAME=TEXT | NAME=@FILE | NAME=hex:BYTES]... [--silent] [--incr-chunk BYTES]
//             [--die-after-chunks N] [--window] [--wm-class INSTANCE,CLASS] [--gtk-app-id ID]
//             [--no-own] [--stay] [--report]
//
// Prints "owned <monotonic ns>" once it owns the selection (the time is taken just before asking
// for it), "window <id>" when it shows a window, and with --report "sent <target>" each time it
// has handed over a content target whole. Exits when another program takes the selection, unless
// --stay or --window is given.
#include "XcbHelpers.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <memory>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {
struct Options
{
    QList<std::pair<QByteArray, QByteArray>> targets;
    bool silent = false;
    qsizetype incrChunk = 256 * 1024;
    int dieAfterChunks = -1;
    bool window = false;
    QByteArray wmClass;
    QByteArray gtkAppId;
    bool own = true;
    bool stay = false;
    bool report = false;
};

struct Transfer
{
    xcb_window_t requestor;
    xcb_atom_t property;
    xcb_atom_t type;
    QByteArray data;
    qsizetype sent = 0;
    bool finished = false;
};

xcb_connection_t* c = nullptr;

QByteArray valueOf(const QByteArray& given)
{
    if (given.startsWith('@')) {
        QFile file(QString::fromLocal8Bit(given.mid(1)));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "clipowner: cannot read %s\n", given.constData() + 1);
            std::exit(2);
        }
        return file.readAll();
    }
    if (given.startsWith("hex:")) {
        return QByteArray::fromHex(given.mid(4));
    }
    return given;
}

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const auto next = [&]() -> QByteArray {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "clipowner: %s needs a value\n", arg.constData());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--target") {
            const QByteArray target = next();
            const qsizetype equals = target.indexOf('=');
            options.targets.append({target.left(equals), valueOf(target.mid(equals + 1))});
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--incr-chunk") {
            options.incrChunk = next().toLongLong();
        } else if (arg == "--die-after-chunks") {
            options.dieAfterChunks = next().toInt();
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--wm-class") {
            options.wmClass = next();
        } else if (arg == "--gtk-app-id") {
            options.gtkAppId = next();
        } else if (arg == "--no-own") {
            options.own = false;
        } else if (arg == "--stay") {
            options.stay = true;
        } else if (arg == "--report") {
            options.report = true;
        } else {
            std::fprintf(stderr, "clipowner: unknown argument %s\n", arg.constData());
            std::exit(2);
        }
    }
    return options;
}

void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, std::uint8_t format, const void* data,
                 std::uint32_t units)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, type, format, units, data);
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "clipowner: no X display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t clipboard = helpers::atom(c, "CLIPBOARD");
    const xcb_atom_t targetsAtom = helpers::atom(c, "TARGETS");
    const xcb_atom_t timestampAtom = helpers::atom(c, "TIMESTAMP");
    const xcb_atom_t incrAtom = helpers::atom(c, "INCR");
    QMap<xcb_atom_t, QByteArray> offered;
    QList<xcb_atom_t> order;
    for (const auto& [name, value] : options.targets) {
        const xcb_atom_t target = helpers::atom(c, name);
        if (!offered.contains(target)) {
            order.append(target);
        }
        offered.insert(target, value);
    }

    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 320, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                      values);
    const std::uint32_t pid = std::uint32_t(getpid());
    setProperty(window, helpers::atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, &pid, 1);
    if (!options.wmClass.isEmpty()) {
        QByteArray wmClass = options.wmClass;
        wmClass.replace(',', '\0');
        wmClass.append('\0');
        setProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass.constData(), std::uint32_t(wmClass.size()));
    }
    if (!options.gtkAppId.isEmpty()) {
        setProperty(window, helpers::atom(c, "_GTK_APPLICATION_ID"), helpers::atom(c, "UTF8_STRING"), 8,
                    options.gtkAppId.constData(), std::uint32_t(options.gtkAppId.size()));
    }
    if (options.window) {
        const QByteArray title = "clipowner";
        setProperty(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, title.constData(), std::uint32_t(title.size()));
        xcb_map_window(c, window);
        std::printf("window %u\n", window);
    }
    if (options.own) {
        const auto now =
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
        xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
        auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
        if (!owner || owner->owner != window) {
            std::fprintf(stderr, "clipowner: could not take the clipboard\n");
            return 1;
        }
        std::free(owner);
        std::printf("owned %lld\n", static_cast<long long>(now));
    }
    std::fflush(stdout);
    xcb_flush(c);

    std::list<Transfer> transfers;
    int chunksSent = 0;
    const auto sent = [&](xcb_atom_t target) {
        if (options.report) {
            xcb_flush(c);
            std::printf("sent %s\n", helpers::atomName(c, target).constData());
            std::fflush(stdout);
        }
    };
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> holder(event, &std::free);
        switch (event->response_type & 0x7f) {
        case XCB_SELECTION_CLEAR:
            if (!options.stay && !options.window) {
                return 0;
            }
            break;
        case XCB_SELECTION_REQUEST: {
            const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            if (options.silent) {
                break;
            }
            // Obsolete requestors name no property: the target's name serves.
            const xcb_atom_t property = request.property == XCB_ATOM_NONE ? request.target : request.property;
            if (request.target == targetsAtom) {
                QList<xcb_atom_t> list = {targetsAtom, timestampAtom};
                list.append(order);
                setProperty(request.requestor, property, XCB_ATOM_ATOM, 32, list.constData(),
                            std::uint32_t(list.size()));
                helpers::notify(c, request, property);
            } else if (request.target == timestampAtom) {
                const std::uint32_t time = XCB_CURRENT_TIME;
                setProperty(request.requestor, property, XCB_ATOM_INTEGER, 32, &time, 1);
                helpers::notify(c, request, property);
            } else if (offered.contains(request.target)) {
                const QByteArray& data = offered[request.target];
                if (data.size() > options.incrChunk) {
                    const std::uint32_t size = std::uint32_t(data.size());
                    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
                    xcb_change_window_attributes(c, request.requestor, XCB_CW_EVENT_MASK, &mask);
                    setProperty(request.requestor, property, incrAtom, 32, &size, 1);
                    transfers.push_back({request.requestor, property, request.target, data, 0, false});
                } else {
                    setProperty(request.requestor, property, request.target, 8, data.constData(),
                                std::uint32_t(data.size()));
                    sent(request.target);
                }
                helpers::notify(c, request, property);
            } else {
                helpers::notify(c, request, XCB_ATOM_NONE);
            }
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto& change = *reinterpret_cast<xcb_property_notify_event_t*>(event);
            if (change.state != XCB_PROPERTY_DELETE) {
                break;
            }
            for (auto it = transfers.begin(); it != transfers.end(); ++it) {
                if (it->requestor != change.window || it->property != change.atom) {
                    continue;
                }
                if (options.dieAfterChunks >= 0 && chunksSent >= options.dieAfterChunks) {
                    xcb_flush(c);
                    _exit(0);
                }
                const qsizetype length = std::min(options.incrChunk, it->data.size() - it->sent);
                setProperty(it->requestor, it->property, it->type, 8, it->data.constData() + it->sent,
                            std::uint32_t(length));
                ++chunksSent;
                it->sent += length;
                if (length == 0) {
                    sent(it->type);
                    transfers.erase(it);
                }
                break;
            }
            break;
        }
        default:
            break;
        }
        xcb_flush(c);
    }
    return 0;
}
