#include "platform/x11/X11ClipboardOwner.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11SelectionServer.h"
#include "platform/x11/X11ServerTime.h"

X11ClipboardOwner::~X11ClipboardOwner()
{
    m_thread.quit();
    m_thread.wait();
}

void X11ClipboardOwner::replace(const PasteboardContent& content)
{
    if (!X11Connection::connection()) {
        return; // not on an X11 display
    }
    if (!m_server) {
        m_server = new X11SelectionServer;
        m_server->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
        m_thread.setObjectName(QStringLiteral("clipboard owner"));
        m_thread.start();
    }
    // Owned as of now, the moment of the pick, however soon the serving thread gets to it.
    const xcb_timestamp_t time = X11ServerTime::now();
    QMetaObject::invokeMethod(
        m_server, [server = m_server, content, time] { server->take(content, time); }, Qt::QueuedConnection);
}
