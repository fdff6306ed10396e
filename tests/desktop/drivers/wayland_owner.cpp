// Plays another Wayland program that owns the clipboard, through data control: offers the given
// MIME types with the bytes of the given files until another program takes the clipboard. With
// --silent it never writes a byte (nor closes the pipe), as a hung owner does.
//
//   wayland_owner [--silent] <mime> <file> [<mime> <file>...]
#include "platform/wayland/SelectionDevice.h"
#include "platform/wayland/WaylandConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <cstdio>
#include <unistd.h>

namespace {
class Owner final : public SelectionDevice::Events
{
public:
    QList<std::pair<QByteArray, QByteArray>> offered;
    bool silent = false;
    QList<int> held; // pipes a silent owner keeps open

    void offerIntroduced(SelectionDevice::Offer) override {}
    void mimeOffered(SelectionDevice::Offer, const QByteArray&) override {}
    void selection(SelectionDevice::Offer) override {}
    void primarySelection(SelectionDevice::Offer) override {}
    void send(SelectionDevice::Source, const QByteArray& mime, int fd) override
    {
        if (silent) {
            held.append(fd);
            return;
        }
        for (const auto& [type, bytes] : offered) {
            if (type == mime) {
                // Small test contents: one blocking write is enough here.
                [[maybe_unused]] const ssize_t written = ::write(fd, bytes.constData(), size_t(bytes.size()));
                break;
            }
        }
        ::close(fd);
    }
    void cancelled(SelectionDevice::Source) override
    {
        std::printf("cancelled\n");
        std::fflush(stdout);
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    void finished() override {}
};
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    Owner owner;
    if (!args.isEmpty() && args.first() == QLatin1String("--silent")) {
        owner.silent = true;
        args.removeFirst();
    }
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        QFile file(args[i + 1]);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(args[i + 1]));
            return 2;
        }
        owner.offered.append({args[i].toUtf8(), file.readAll()});
    }
    WaylandConnection connection;
    QByteArray protocol;
    auto device = connection.isConnected() ? SelectionDevice::create(connection, owner, &protocol) : nullptr;
    if (!device) {
        std::fprintf(stderr, "no data control\n");
        return 1;
    }
    QList<QByteArray> names;
    for (const auto& [type, bytes] : owner.offered) {
        names.append(type);
    }
    SelectionDevice::Source source = nullptr;
    connection.atTeardown([&] {
        if (source) {
            device->destroySource(source);
        }
        device.reset();
    });
    connection.start();
    connection.post([&] {
        source = device->setSelection(names);
        std::printf("owning\n");
        std::fflush(stdout);
    });
    const int status = QCoreApplication::exec();
    connection.stop();
    for (int fd : owner.held) {
        ::close(fd);
    }
    return status;
}
