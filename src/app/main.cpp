// Stashwell: a clipboard history in the tray.
#include "app/AppDelegate.h"
#include "app/InstanceLock.h"
#include "app/UnixSignals.h"
#include "platform/PrivateFiles.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>

namespace {
void printLine(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}
} // namespace

int main(int argc, char* argv[])
{
    QString reason;
    if (!X11Platform::canConnect(&reason)) {
        printLine(QStringLiteral("Stashwell needs an X11 desktop session: ") + reason + QLatin1Char('.'));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stashwell"));
    QApplication::setOrganizationName(QStringLiteral("Stashwell"));
    QApplication::setDesktopFileName(QStringLiteral("stashwell"));
    QApplication::setQuitOnLastWindowClosed(false);

    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString historyFolder = dataFolder + QStringLiteral("/Stashwell");
    if (dataFolder.isEmpty() || !PrivateFiles::ensureFolder(historyFolder)) {
        printLine(QStringLiteral("Stashwell could not access Application Support. Check disk permissions."));
        return 1;
    }
    InstanceLock lock(historyFolder + QStringLiteral("/stashwell.lock"));
    if (!lock.tryLock()) {
        if (!lock.error().isEmpty()) {
            printLine(QStringLiteral("Stashwell could not lock its history folder: ") + lock.error());
            return 1;
        }
        printLine(QStringLiteral("Stashwell is already running."));
        return 0;
    }

    X11Platform platform(dataFolder);
    Platform::install(platform.services());

    AppDelegate delegate;
    UnixSignals unixSignals;
    // The session is ending: leave at once (a quit() could be refused by a window), then run the
    // termination sequence below.
    QObject::connect(&unixSignals, &UnixSignals::terminationRequested, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();

    const int status = app.exec();
    delegate.applicationWillTerminate();
    return status;
}
