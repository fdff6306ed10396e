// Copies many distinct contents in a row, as fast as a clipboard manager can take them: each copy
// takes CLIPBOARD with a fresh window and serves its targets itself, so no process is started per copy.
//
//   copy_burst --count N [--kinds text,link,html,rtf,image,color,file,pdf] [--prefix WORD]
//              [--handshake [--read-timeout-ms MS]] [--interval-ms MS] [--repeats]
//              [--sample-pid PID --sample-every K]
//
// Copies follow each other every --interval-ms at the fastest. --handshake also waits, after each
// copy, until the reader has finished with it (the requestor window it read through is destroyed) or
// the timeout passes. --repeats makes every tenth copy repeat the newest content and every tenth (offset
// by five) an older one, as people copy the same thing again.
//
// Prints one line per copy: "copy N KIND CONTENT OWNED_NS READ_NS LABEL", times in CLOCK_REALTIME
// nanoseconds (READ_NS is "-" when nobody read it), LABEL the text the entry will hold (or the
// colour, the file path, "image"/"pdf"). With --sample-pid, "rss COPIES KB" every K copies.
// Ends with "done COPIES READ".
#include "XcbHelpers.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* c = nullptr;

struct Options
{
    int count = 100;
    QStringList kinds = {QStringLiteral("text")};
    QByteArray prefix = "burst";
    bool handshake = false;
    int readTimeoutMs = 1500;
    int intervalMs = 0;
    bool repeats = false;
    int samplePid = 0;
    int sampleEvery = 500;
};

struct Content
{
    QByteArray kind;
    QByteArray label;
    QList<std::pair<xcb_atom_t, QByteArray>> targets;
};

long long realtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

QByteArray png(int index)
{
    // 80 x 64, a colour of its own and the index written as a row of pixels: every image differs.
    QImage image(80, 64, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(index * 37 % 360, 160, 200));
    for (int bit = 0; bit < 24; ++bit) {
        image.setPixel(8 + bit * 2, 32, (index >> bit) & 1 ? 0xff000000 : 0xffffffff);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray pdf(int index)
{
    const QByteArray stream = QByteArray::number((index % 97) / 97.0, 'f', 3) + " 0 1 rg 10 10 " +
                              QByteArray::number(20 + index % 150) + " 40 re f";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "\nendstream",
    };
    QByteArray out = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets) {
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

Content contentFor(const Options& options, int index)
{
    const QByteArray kind = options.kinds[index % options.kinds.size()].toUtf8();
    const QByteArray n = QByteArray::number(index);
    const QByteArray& p = options.prefix;
    static const xcb_atom_t utf8 = helpers::atom(c, "UTF8_STRING");
    Content content{kind, {}, {}};
    if (kind == "text") {
        content.label = p + " text " + n;
        content.targets = {{utf8, content.label}};
    } else if (kind == "link") {
        content.label = "https://example.org/" + p + "/" + n;
        content.targets = {{utf8, content.label}};
    } else if (kind == "html") {
        content.label = p + " html " + n;
        content.targets = {{helpers::atom(c, "text/html"), "<p>" + p + " <b>html</b> " + n + "</p>"},
                           {utf8, content.label}};
    } else if (kind == "rtf") {
        content.label = p + " rtf " + n;
        content.targets = {{helpers::atom(c, "text/rtf"), "{\\rtf1\\ansi " + p + " {\\b rtf} " + n + "}"},
                           {utf8, content.label}};
    } else if (kind == "image") {
        content.label = "image";
        content.targets = {{helpers::atom(c, "image/png"), png(index)}};
    } else if (kind == "color") {
        const std::uint16_t channels[4] = {std::uint16_t(index * 257), std::uint16_t((index >> 8) * 4369),
                                           std::uint16_t(0x8000), 0xffff};
        content.label = QColor::fromRgba64(channels[0], channels[1], channels[2], channels[3])
                            .name(QColor::HexRgb)
                            .toUpper()
                            .toUtf8();
        content.targets = {
            {helpers::atom(c, "application/x-color"), QByteArray(reinterpret_cast<const char*>(channels), 8)}};
    } else if (kind == "file") {
        content.label = "/tmp/" + p + "/file-" + n + ".txt";
        content.targets = {{helpers::atom(c, "text/uri-list"), "file://" + content.label + "\r\n"}};
    } else if (kind == "pdf") {
        content.label = "pdf";
        content.targets = {{helpers::atom(c, "application/pdf"), pdf(index)}};
    } else {
        std::fprintf(stderr, "copy_burst: unknown kind %s\n", kind.constData());
        std::exit(2);
    }
    return content;
}

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const auto next = [&]() -> QByteArray {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "copy_burst: %s needs a value\n", arg.constData());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--count") {
            options.count = next().toInt();
        } else if (arg == "--kinds") {
            options.kinds = QString::fromUtf8(next()).split(QLatin1Char(','));
        } else if (arg == "--prefix") {
            options.prefix = next();
        } else if (arg == "--handshake") {
            options.handshake = true;
        } else if (arg == "--read-timeout-ms") {
            options.readTimeoutMs = next().toInt();
        } else if (arg == "--interval-ms") {
            options.intervalMs = next().toInt();
        } else if (arg == "--repeats") {
            options.repeats = true;
        } else if (arg == "--sample-pid") {
            options.samplePid = next().toInt();
        } else if (arg == "--sample-every") {
            options.sampleEvery = std::max(1, next().toInt());
        } else {
            std::fprintf(stderr, "copy_burst: unknown argument %s\n", arg.constData());
            std::exit(2);
        }
    }
    return options;
}

long long residentKb(int pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLongLong();
        }
    }
    return -1;
}

// Which content a copy offers: its own, or with --repeats now and then an earlier one.
int contentIndex(const Options& options, int copy, const QList<int>& history)
{
    if (!options.repeats || history.size() < 4) {
        return copy;
    }
    if (copy % 10 == 9) {
        return history.last(); // the newest again: the store keeps the older entry
    }
    if (copy % 10 == 4) {
        return history[history.size() - 3]; // an older one again: it moves to the top
    }
    return copy;
}
} // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "copy_burst: no X display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t clipboard = helpers::atom(c, "CLIPBOARD");
    const xcb_atom_t targetsAtom = helpers::atom(c, "TARGETS");
    const xcb_atom_t timestampAtom = helpers::atom(c, "TIMESTAMP");
    const xcb_atom_t colorAtom = helpers::atom(c, "application/x-color");

    // The owner windows live inside one window that is never shown: the window manager and the
    // compositor never hear of them.
    const xcb_window_t parent = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, parent, screen->root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_window_t previous = XCB_WINDOW_NONE;
    QList<int> history;
    int read = 0;
    for (int copy = 0; copy < options.count; ++copy) {
        const int index = contentIndex(options, copy, history);
        history.append(index);
        const Content content = contentFor(options, index);

        // A fresh owner window per copy: a reader still busy with the copy before sees the owner change.
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        const long long owned = realtimeNs();
        xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
        if (previous != XCB_WINDOW_NONE) {
            xcb_destroy_window(c, previous);
        }
        previous = window;
        xcb_flush(c);

        const auto start = std::chrono::steady_clock::now();
        const auto next = start + std::chrono::milliseconds(options.intervalMs);
        const auto giveUp = start + std::chrono::milliseconds(std::max(options.intervalMs, options.readTimeoutMs));
        xcb_window_t reader = XCB_WINDOW_NONE;
        long long readAt = -1;
        for (;;) {
            const auto now = std::chrono::steady_clock::now();
            const bool waitingForRead = options.handshake && readAt < 0;
            const auto until = waitingForRead ? giveUp : next;
            if (now >= until) {
                break;
            }
            xcb_generic_event_t* event = xcb_poll_for_event(c);
            if (!event) {
                if (xcb_connection_has_error(c)) {
                    return 1;
                }
                pollfd descriptor{xcb_get_file_descriptor(c), POLLIN, 0};
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count();
                ::poll(&descriptor, 1, int(std::max<long long>(1, left)));
                continue;
            }
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> holder(event, &std::free);
            const int type = event->response_type & 0x7f;
            if (type == XCB_DESTROY_NOTIFY) {
                const auto& destroyed = *reinterpret_cast<xcb_destroy_notify_event_t*>(event);
                if (destroyed.window == reader && options.handshake) {
                    readAt = realtimeNs();
                }
                continue;
            }
            if (type != XCB_SELECTION_REQUEST) {
                continue;
            }
            const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            if (request.owner != window) {
                helpers::notify(c, request, XCB_ATOM_NONE);
                xcb_flush(c);
                continue;
            }
            if (reader == XCB_WINDOW_NONE) {
                // Its reader reads one change through one window and destroys it when done.
                reader = request.requestor;
                const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
                xcb_change_window_attributes(c, reader, XCB_CW_EVENT_MASK, &mask);
            }
            const xcb_atom_t property = request.property == XCB_ATOM_NONE ? request.target : request.property;
            if (request.target == targetsAtom) {
                QList<xcb_atom_t> list = {targetsAtom, timestampAtom};
                for (const auto& target : content.targets) {
                    list.append(target.first);
                }
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                                    std::uint32_t(list.size()), list.constData());
                helpers::notify(c, request, property);
            } else {
                const auto found = std::find_if(content.targets.begin(), content.targets.end(),
                                                [&](const auto& target) { return target.first == request.target; });
                if (found == content.targets.end()) {
                    helpers::notify(c, request, XCB_ATOM_NONE);
                } else {
                    // Colours are four 16-bit channels, which the server puts in the reader's byte order.
                    const bool color = found->first == colorAtom;
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, request.target,
                                        color ? 16 : 8,
                                        std::uint32_t(color ? found->second.size() / 2 : found->second.size()),
                                        found->second.constData());
                    helpers::notify(c, request, property);
                }
            }
            xcb_flush(c);
        }
        if (readAt >= 0) {
            ++read;
        }
        std::printf("copy %d %s %d %lld %s %s\n", copy, content.kind.constData(), index, owned,
                    readAt >= 0 ? QByteArray::number(readAt).constData() : "-", content.label.constData());
        if (options.samplePid > 0 && (copy + 1) % options.sampleEvery == 0) {
            std::printf("rss %d %lld\n", copy + 1, residentKb(options.samplePid));
        }
        std::fflush(stdout);
    }
    std::printf("done %d %d\n", options.count, read);
    std::fflush(stdout);
    return 0;
}
