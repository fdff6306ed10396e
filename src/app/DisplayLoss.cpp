#include "app/DisplayLoss.h"

#include <atomic>
#include <thread>

namespace {
std::atomic<DisplayLoss*> armed{nullptr};
std::atomic<QtMessageHandler> previousHandler{nullptr};
std::thread::id armedThread;

// Qt's word that the X connection broke: its xcb plugin and its Xlib error handler both begin so.
bool isConnectionBroken(QtMsgType type, const QString& message)
{
    return type == QtWarningMsg && message.startsWith(QLatin1String("The X11 connection broke"));
}
} // namespace

DisplayLoss::DisplayLoss(std::function<void()> terminate) : m_terminate(std::move(terminate))
{
    armedThread = std::this_thread::get_id();
    armed = this;
    m_previous = qInstallMessageHandler(&DisplayLoss::handleMessage);
    previousHandler = m_previous;
}

DisplayLoss::~DisplayLoss()
{
    armed = nullptr;
    qInstallMessageHandler(m_previous);
}

void DisplayLoss::handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (const QtMessageHandler previous = previousHandler) {
        previous(type, context, message);
    }
    // Only on the main thread, which is then between two events: the sequence never runs in the
    // middle of a change of the history.
    if (isConnectionBroken(type, message) && std::this_thread::get_id() == armedThread) {
        if (DisplayLoss* self = armed.exchange(nullptr)) {
            self->m_terminate();
        }
    }
}
