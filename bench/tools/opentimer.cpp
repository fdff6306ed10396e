// Times how quickly a program's window opens on demand, watched from outside the program so that any
// two programs are measured alike: from a synthesised key press (or a command) to the window's map,
// and to the first drawing into it after the map, over several openings.
//
//   opentimer --pid PID (--key CHORD | --open-command CMD) [--close-key CHORD | --close-command CMD]
//             [--count N] [--warmup N] [--min-size PIXELS] [--settle MS]
//
// A chord is key names joined by "+" (super+shift+v, Escape). Only windows of process PID at least
// PIXELS wide and high count (default 200). Prints one line per opening on stderr and, on stdout,
// "openings=N mapped_ms=MEDIAN painted_ms=MEDIAN mapped_max_ms=MAX painted_max_ms=MAX".
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>
#include <xkbcommon/xkbcommon.h>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;

struct Options
{
    std::uint32_t pid = 0;
    std::string key;
    std::string openCommand;
    std::string closeKey;
    std::string closeCommand;
    int count = 20;
    int warmup = 1;
    int minSize = 200;
    int settleMs = 400;
};

struct Opening
{
    double mappedMs = 0;
    double paintedMs = 0;
};

double msSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Starts a shell command without waiting for it; its exit is collected later.
void startCommand(const std::string& command)
{
    pid_t child = 0;
    const char* arguments[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(arguments), environ);
}

void reapChildren()
{
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

class Watcher
{
public:
    explicit Watcher(const Options& options) : m_options(options) {}

    ~Watcher()
    {
        if (m_symbols) {
            xcb_key_symbols_free(m_symbols);
        }
        if (m_connection) {
            xcb_disconnect(m_connection);
        }
    }

    bool connect()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "opentimer: no X display\n");
            return false;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present) {
            std::fprintf(stderr, "opentimer: the X server has no DAMAGE extension\n");
            return false;
        }
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        std::free(xcb_damage_query_version_reply(m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        m_symbols = xcb_key_symbols_alloc(m_connection);
        m_pidAtom = intern("_NET_WM_PID");
        // New top-level windows appear as children of the root; existing ones are watched from now on.
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        watchTree(m_root, 2);
        xcb_flush(m_connection);
        return true;
    }

    // One opening: trigger, map, first drawing after the map, then closing again.
    std::optional<Opening> open()
    {
        if (!waitUntil([this] { return !m_shown; }, 5000)) {
            std::fprintf(stderr, "opentimer: the window is still open before the opening\n");
            return std::nullopt;
        }
        m_mappedAt.reset();
        m_paintedAt.reset();
        const Clock::time_point start = Clock::now();
        if (m_options.openCommand.empty()) {
            if (!pressChord(m_options.key)) {
                return std::nullopt;
            }
        } else {
            startCommand(m_options.openCommand);
        }
        if (!waitUntil([this] { return m_paintedAt.has_value(); }, 5000)) {
            std::fprintf(stderr, "opentimer: no window of process %u %s within 5 s\n", m_options.pid,
                         m_mappedAt ? "was drawn" : "was mapped");
            return std::nullopt;
        }
        Opening opening{msSince(start, *m_mappedAt), msSince(start, *m_paintedAt)};
        waitUntil([] { return false; }, m_options.settleMs);
        if (!m_options.closeCommand.empty()) {
            startCommand(m_options.closeCommand);
        } else if (!pressChord(m_options.closeKey.empty() ? m_options.key : m_options.closeKey)) {
            return std::nullopt;
        }
        if (!waitUntil([this] { return !m_shown; }, 5000)) {
            std::fprintf(stderr, "opentimer: the window did not close within 5 s\n");
            return std::nullopt;
        }
        waitUntil([] { return false; }, 300);
        reapChildren();
        return opening;
    }

private:
    xcb_atom_t intern(const char* name)
    {
        auto* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    void watch(xcb_window_t window)
    {
        if (m_watched.count(window)) {
            return;
        }
        m_watched[window] = true;
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_damage_create(m_connection, xcb_generate_id(m_connection), window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        // A window of ours already showing when the watch starts counts as open.
        auto* attributes =
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && isTarget(window)) {
            m_shown = window;
        }
        std::free(attributes);
    }

    // Windows and their children down to `depth` levels: clients sit inside the window manager's frames.
    void watchTree(xcb_window_t parent, int depth)
    {
        auto* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr);
        if (!tree) {
            return;
        }
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            watch(children[i]);
            if (depth > 1) {
                watchTree(children[i], depth - 1);
            }
        }
        std::free(tree);
    }

    bool isTarget(xcb_window_t window)
    {
        auto* property = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        const bool ours = property && xcb_get_property_value_length(property) == 4 &&
                          *static_cast<const std::uint32_t*>(xcb_get_property_value(property)) == m_options.pid;
        std::free(property);
        if (!ours) {
            return false;
        }
        auto* geometry = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        const bool large = geometry && geometry->width >= m_options.minSize && geometry->height >= m_options.minSize;
        std::free(geometry);
        return large;
    }

    void handle(xcb_generic_event_t* event, Clock::time_point at)
    {
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == m_damageEvent) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (m_mappedAt && !m_paintedAt && damage->drawable == m_shown) {
                m_paintedAt = at;
            }
            return;
        }
        switch (type) {
        case XCB_CREATE_NOTIFY:
            watch(reinterpret_cast<xcb_create_notify_event_t*>(event)->window);
            break;
        case XCB_MAP_NOTIFY: {
            const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            if (window == reinterpret_cast<xcb_map_notify_event_t*>(event)->event && !m_shown && isTarget(window)) {
                m_shown = window;
                m_mappedAt = at;
            }
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto* unmap = reinterpret_cast<xcb_unmap_notify_event_t*>(event);
            if (unmap->window == m_shown) {
                m_shown = 0;
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* destroy = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
            if (destroy->window == m_shown) {
                m_shown = 0;
            }
            m_watched.erase(destroy->window);
            break;
        }
        default:
            break;
        }
    }

    // Handles events as they come until `done` holds or the time is up.
    template <typename Done> bool waitUntil(Done done, int timeoutMs)
    {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                handle(event, Clock::now());
                std::free(event);
            }
            xcb_flush(m_connection);
            if (done()) {
                break;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return false;
            }
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&descriptor, 1, int(std::min<long long>(left, 50)));
            if (xcb_connection_has_error(m_connection)) {
                return false;
            }
        }
        return true;
    }

    std::optional<xcb_keycode_t> keycode(const std::string& name)
    {
        static const std::map<std::string, std::string> aliases{
            {"super", "Super_L"}, {"shift", "Shift_L"}, {"ctrl", "Control_L"}, {"control", "Control_L"},
            {"alt", "Alt_L"},     {"escape", "Escape"}, {"return", "Return"}};
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        const auto alias = aliases.find(lower);
        const std::string keysymName = alias != aliases.end() ? alias->second : name;
        const xkb_keysym_t keysym = xkb_keysym_from_name(keysymName.c_str(), XKB_KEYSYM_CASE_INSENSITIVE);
        xcb_keycode_t* codes = keysym ? xcb_key_symbols_get_keycode(m_symbols, keysym) : nullptr;
        std::optional<xcb_keycode_t> code;
        if (codes && codes[0] != XCB_NO_SYMBOL) {
            code = codes[0];
        }
        std::free(codes);
        if (!code) {
            std::fprintf(stderr, "opentimer: no key for \"%s\"\n", name.c_str());
        }
        return code;
    }

    bool pressChord(const std::string& chord)
    {
        std::vector<xcb_keycode_t> codes;
        std::size_t begin = 0;
        while (begin <= chord.size()) {
            const std::size_t end = std::min(chord.find('+', begin), chord.size());
            const auto code = keycode(chord.substr(begin, end - begin));
            if (!code) {
                return false;
            }
            codes.push_back(*code);
            begin = end + 1;
        }
        for (const xcb_keycode_t code : codes) {
            xcb_test_fake_input(m_connection, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
            xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        xcb_flush(m_connection);
        return true;
    }

    const Options& m_options;
    xcb_connection_t* m_connection = nullptr;
    xcb_key_symbols_t* m_symbols = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    std::uint8_t m_damageEvent = 0;
    std::map<xcb_window_t, bool> m_watched;
    xcb_window_t m_shown = 0;
    std::optional<Clock::time_point> m_mappedAt;
    std::optional<Clock::time_point> m_paintedAt;
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--pid") {
            options.pid = std::uint32_t(std::strtoul(value.c_str(), nullptr, 10));
        } else if (name == "--key") {
            options.key = value;
        } else if (name == "--open-command") {
            options.openCommand = value;
        } else if (name == "--close-key") {
            options.closeKey = value;
        } else if (name == "--close-command") {
            options.closeCommand = value;
        } else if (name == "--count") {
            options.count = std::atoi(value.c_str());
        } else if (name == "--warmup") {
            options.warmup = std::atoi(value.c_str());
        } else if (name == "--min-size") {
            options.minSize = std::atoi(value.c_str());
        } else if (name == "--settle") {
            options.settleMs = std::atoi(value.c_str());
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 == 0 || options.pid == 0 || (options.key.empty() && options.openCommand.empty())) {
        return std::nullopt;
    }
    return options;
}
} // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: opentimer --pid PID (--key CHORD | --open-command CMD) [--close-key CHORD | "
                             "--close-command CMD] [--count N] [--warmup N] [--min-size PIXELS] [--settle MS]\n");
        return 2;
    }
    Watcher watcher(*options);
    if (!watcher.connect()) {
        return 1;
    }
    std::vector<double> mapped;
    std::vector<double> painted;
    for (int round = 0; round < options->warmup + options->count; ++round) {
        const std::optional<Opening> opening = watcher.open();
        if (!opening) {
            return 1;
        }
        const bool warming = round < options->warmup;
        std::fprintf(stderr, "%s %d: mapped %.1f ms, first drawing %.1f ms\n", warming ? "warm-up" : "opening",
                     warming ? round + 1 : round - options->warmup + 1, opening->mappedMs, opening->paintedMs);
        if (!warming) {
            mapped.push_back(opening->mappedMs);
            painted.push_back(opening->paintedMs);
        }
    }
    std::printf("openings=%zu mapped_ms=%.1f painted_ms=%.1f mapped_max_ms=%.1f painted_max_ms=%.1f\n", mapped.size(),
                median(mapped), median(painted), mapped.empty() ? 0 : *std::max_element(mapped.begin(), mapped.end()),
                painted.empty() ? 0 : *std::max_element(painted.begin(), painted.end()));
    return 0;
}
