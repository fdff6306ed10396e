// Button presses anywhere on the X display, from XInput2 raw events on a connection of its own.
#pragma once

#include "platform/PointerMonitor.h"

#include <QObject>
#include <memory>

struct xcb_connection_t;
class QSocketNotifier;

class X11PointerMonitor final : public QObject, public PointerMonitor
{
    Q_OBJECT
public:
    X11PointerMonitor();
    ~X11PointerMonitor() override;

    bool install(std::function<void()> onPress) override;
    void remove() override;
    bool isInstalled() const override { return m_connection != nullptr; }

private:
    void readEvents();

    xcb_connection_t* m_connection = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
    uint8_t m_xinputOpcode = 0;
    std::function<void()> m_onPress;
};
