#include "app/InstanceService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

const QString InstanceService::serviceName = QStringLiteral("io.github.stashwell.Stashwell");
const QString InstanceService::objectPath = QStringLiteral("/io/github/stashwell/Stashwell");

namespace {
// How long a request waits for a Stashwell that holds the lock but is not on the bus yet.
constexpr int startingGraceMs = 3000;
constexpr int callTimeoutMs = 2000;

QString methodFor(CommandLine::Request request)
{
    switch (request) {
    case CommandLine::Request::Toggle:
        return QStringLiteral("Toggle");
    case CommandLine::Request::Quit:
        return QStringLiteral("Quit");
    default:
        return QStringLiteral("ShowSettings");
    }
}
} // namespace

InstanceService::InstanceService(QObject* parent) : QObject(parent) {}

bool InstanceService::registerOnSessionBus(QString* reason)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *reason = bus.lastError().message();
        return false;
    }
    if (!bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots)) {
        *reason = QStringLiteral("the object path is taken");
        return false;
    }
    if (!bus.registerService(serviceName)) {
        *reason = bus.lastError().message();
        bus.unregisterObject(objectPath);
        return false;
    }
    return true;
}

bool InstanceService::send(CommandLine::Request request, QString* reason)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *reason = QStringLiteral("no session bus (%1)").arg(bus.lastError().message());
        return false;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(serviceName, objectPath, serviceName, methodFor(request));
    const QDeadlineTimer deadline(startingGraceMs);
    for (;;) {
        const QDBusMessage reply = bus.call(call, QDBus::Block, callTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            return true;
        }
        // Only a name nobody owns yet is worth waiting for; any other error will not go away.
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") || deadline.hasExpired()) {
            *reason = reply.errorMessage();
            return false;
        }
        QThread::msleep(50);
    }
}
