// The running Stashwell's door on the session bus: a later launch (`stashwell --toggle`, a
// compositor's key binding, the desktop entry's actions) asks it to open the popup, show the
// settings window or quit, instead of starting a second copy.
#pragma once

#include "app/CommandLine.h"

#include <QObject>
#include <QString>

class InstanceService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.stashwell.Stashwell")
public:
    static const QString serviceName;
    static const QString objectPath;

    explicit InstanceService(QObject* parent = nullptr);

    // Takes the service name on the session bus. False, with a reason, when there is no session
    // bus or the name is taken: the program runs on, only unreachable from the command line.
    bool registerOnSessionBus(QString* reason);

    // Asks the running Stashwell to act. Waits a little for one that is still starting (it holds
    // the history lock before it is on the bus). False, with a reason, when none answers.
    static bool send(CommandLine::Request request, QString* reason);

public slots:
    Q_SCRIPTABLE void Toggle() { emit toggleRequested(); }
    Q_SCRIPTABLE void ShowSettings() { emit settingsRequested(); }
    Q_SCRIPTABLE void Quit() { emit quitRequested(); }

signals:
    void toggleRequested();
    void settingsRequested();
    void quitRequested();
};
