// What the program was asked to do on its command line: run, or ask the running Stashwell to act.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine
{
    enum class Request {
        Run,      // start in the tray; a second launch opens the running one's settings window
        Toggle,   // open or close the popup (what a compositor's key binding runs)
        Settings, // open the settings window
        Quit,     // end the running Stashwell
        Version,
        Help,
    };

    Request request = Request::Run;
    // The desktop platform asked for ("x11" or "wayland"); nothing lets the session decide.
    std::optional<QString> platform;
    // Set when the arguments were not understood: a line for the user, and the program stops.
    QString error;

    // `arguments` includes the program name, as QCoreApplication::arguments() does.
    static CommandLine parse(const QStringList& arguments);
    static QString usage();
};
