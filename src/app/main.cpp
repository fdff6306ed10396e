// Stashwell: a clipboard history in the tray.
#include "Version.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/DisplayLoss.h"
#include "app/InstanceLock.h"
#include "app/InstanceService.h"
#include "app/UnixSignals.h"
#include "platform/PrivateFiles.h"
#include "platform/SystemLog.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace {
void printLine(const QString& line, FILE* stream = stderr)
{
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Another Stashwell holds the history: hand it the request and leave. A plain second launch (from
// the application menu, say) opens its settings window, which is where a desktop without a tray
// reaches Settings and Quit.
int askRunningInstance(int argc, char* argv[], CommandLine::Request request)
{
    QCoreApplication app(argc, argv);
    if (request == CommandLine::Request::Run) {
        printLine(QStringLiteral("Stashwell is already running."));
    }
    QString reason;
    if (!InstanceService::send(request, &reason)) {
        printLine(QStringLiteral("Stashwell could not reach the running Stashwell: ") + reason);
        return request == CommandLine::Request::Run ? 0 : 1;
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    const CommandLine command = CommandLine::parse(argumentList(argc, argv));
    if (!command.error.isEmpty()) {
        printLine(command.error + QStringLiteral(" Try 'stashwell --help'."));
        return 2;
    }
    if (command.request == CommandLine::Request::Help) {
        printLine(CommandLine::usage().trimmed(), stdout);
        return 0;
    }
    if (command.request == CommandLine::Request::Version) {
        printLine(QStringLiteral("Stashwell " STASHWELL_VERSION), stdout);
        return 0;
    }

    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString historyFolder = dataFolder + QStringLiteral("/Stashwell");
    if (dataFolder.isEmpty() || !PrivateFiles::ensureFolder(historyFolder)) {
        printLine(QStringLiteral("Stashwell could not access its data folder (%1). Check disk permissions.")
                      .arg(historyFolder));
        return 1;
    }
    InstanceLock lock(historyFolder + QStringLiteral("/stashwell.lock"));
    if (!lock.tryLock()) {
        if (!lock.error().isEmpty()) {
            printLine(QStringLiteral("Stashwell could not lock its history folder: ") + lock.error());
            return 1;
        }
        return askRunningInstance(argc, argv, command.request);
    }
    if (command.request == CommandLine::Request::Quit) {
        printLine(QStringLiteral("Stashwell is not running."));
        return 0;
    }

    QString reason;
    if (!X11Platform::canConnect(&reason)) {
        printLine(QStringLiteral("Stashwell needs an X11 desktop session: ") + reason + QLatin1Char('.'));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stashwell"));
    QApplication::setApplicationVersion(QStringLiteral(STASHWELL_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Stashwell"));
    QApplication::setDesktopFileName(QStringLiteral("stashwell"));
    QApplication::setQuitOnLastWindowClosed(false);

    X11Platform platform(dataFolder);
    Platform::install(platform.services());

    AppDelegate delegate;
    UnixSignals unixSignals;
    // The session is ending: leave at once (a quit() could be refused by a window), then run the
    // termination sequence below.
    QObject::connect(&unixSignals, &UnixSignals::terminationRequested, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);

    InstanceService service;
    QObject::connect(&service, &InstanceService::toggleRequested, &delegate, &AppDelegate::toggleWindow);
    QObject::connect(&service, &InstanceService::settingsRequested, &delegate, &AppDelegate::openSettings);
    QObject::connect(&service, &InstanceService::quitRequested, &app, [] { QCoreApplication::exit(0); });
    if (!service.registerOnSessionBus(&reason)) {
        if (SystemLog* log = Platform::current().log) {
            log->write(QStringLiteral("Stashwell: stashwell --toggle, --settings and --quit will not reach this "
                                      "Stashwell: %1")
                           .arg(reason));
        }
    }

    delegate.applicationDidFinishLaunching();
    // Started by a request with none running: do what was asked once the launch is done.
    if (command.request == CommandLine::Request::Toggle) {
        QTimer::singleShot(0, &delegate, &AppDelegate::toggleWindow);
    } else if (command.request == CommandLine::Request::Settings) {
        QTimer::singleShot(0, &delegate, &AppDelegate::openSettings);
    }
    // The X server going away ends the program from inside the event loop: the history is still
    // saved (and cleared, when set) on that road.
    DisplayLoss displayLoss([&delegate] {
        printLine(QStringLiteral("Stashwell: the connection to the X server broke; running the termination sequence"));
        delegate.applicationWillTerminate();
    });

    const int status = app.exec();
    delegate.applicationWillTerminate();
    return status;
}
