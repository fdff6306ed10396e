// Bringing the remembered window back to the front, and waiting until the window manager has done so.
#include "platform/x11/X11Applications.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11ServerTime.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {
constexpr int activePollIntervalMs = 15;
// _NET_ACTIVE_WINDOW source indication: a pager, i.e. an explicit request on the user's behalf,
// which window managers do not treat as focus stealing.
constexpr std::uint32_t sourcePager = 2;
} // namespace

void X11Applications::activate(const RunningApplication& app)
{
    xcb_connection_t* c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    if (!c || root == XCB_WINDOW_NONE || app.window == XCB_WINDOW_NONE) {
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = app.window;
    message.type = X11Connection::atom("_NET_ACTIVE_WINDOW");
    message.data.data32[0] = sourcePager;
    message.data.data32[1] = X11ServerTime::now();
    message.data.data32[2] = X11Connection::activeWindow();
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

void X11Applications::whenActive(const RunningApplication& app, int timeoutMs, std::function<void(bool)> done)
{
    // A short poll of the root property rather than a blocking wait: the main thread stays free.
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    const xcb_window_t target = app.window;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, elapsed, target, timeoutMs, done = std::move(done)] {
        const bool isActive = target != XCB_WINDOW_NONE && X11Connection::activeWindow() == target;
        if (!isActive && target != XCB_WINDOW_NONE && elapsed->elapsed() < timeoutMs) {
            timer->setInterval(activePollIntervalMs);
            return;
        }
        timer->stop();
        timer->deleteLater();
        done(isActive);
    });
    timer->start(0);
}
