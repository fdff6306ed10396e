// The real desktop services of the program on an X11 session, built once at start-up.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <memory>

class X11Platform
{
public:
    // Nothing on stderr and true when an X server answers at $DISPLAY; otherwise false and a reason.
    static bool canConnect(QString* reason);

    // Needs the QApplication on the xcb platform to exist.
    explicit X11Platform(const QString& dataFolder);
    ~X11Platform();

    Platform services() const;

private:
    struct Services;
    std::unique_ptr<Services> m_services;
    QString m_dataFolder;
};
