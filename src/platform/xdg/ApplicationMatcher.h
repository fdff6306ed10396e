// Names the application behind a window from what the window tells about itself, as desktop-entry
// ids ("org.gnome.TextEditor") so they match the ids the user picks in the settings.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class DesktopEntryIndex;

struct WindowFacts
{
    QString gtkApplicationId; // _GTK_APPLICATION_ID
    QString wmInstance;       // WM_CLASS, first string
    QString wmClass;          // WM_CLASS, second string
    QString executable;       // file name of the program of _NET_WM_PID
};

struct ApplicationIdentity
{
    std::optional<QString> bundleID;
    std::optional<QString> name;
};

namespace ApplicationMatcher {
// In order: the GTK application id; the entry whose StartupWMClass is the class or instance; the
// entry whose id is the class or instance, ignoring case; the executable (through its entry when
// one exists); the WM_CLASS class. The name is the entry's Name, else the WM_CLASS class.
ApplicationIdentity identify(const WindowFacts& facts, DesktopEntryIndex& entries);

// The file name of a local process's program, or empty when it cannot be read.
QString executableOfProcess(std::int64_t pid);
} // namespace ApplicationMatcher
