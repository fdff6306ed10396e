// Runs the termination sequence when the connection to the X server breaks. Qt's X11 plugin then
// ends the program with exit() from inside the event loop, so neither the loop nor main() returns;
// it says so first in a warning, which is where the sequence runs, with everything still alive.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class DisplayLoss
{
public:
    // From the main thread. Until this object is destroyed, the first such warning on this thread
    // runs `terminate`, after the warning itself has been written.
    explicit DisplayLoss(std::function<void()> terminate);
    ~DisplayLoss();

    DisplayLoss(const DisplayLoss&) = delete;
    DisplayLoss& operator=(const DisplayLoss&) = delete;

private:
    static void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

    std::function<void()> m_terminate;
    QtMessageHandler m_previous = nullptr;
};
