// The desktop services the program runs on, chosen once at start-up: the X11 backends in the
// program, the in-memory fakes in the unit tests. The services are owned by whoever installs them.
#pragma once

#include <QString>

class Applications;
class Clipboard;
class DefaultsStore;
class DesktopServices;
class HotkeyRegistrar;
class KeySynthesizer;
class KeyboardLayout;
class KeyTap;
class LoginItem;
class PasteboardReaderFactory;
class PointerMonitor;
class Scheduler;
class SystemLog;
class WindowEffects;

struct Platform
{
    Scheduler* scheduler = nullptr;
    DefaultsStore* defaults = nullptr;
    LoginItem* loginItem = nullptr;
    SystemLog* log = nullptr;
    Clipboard* clipboard = nullptr;
    PasteboardReaderFactory* pasteboardReaders = nullptr;
    Applications* applications = nullptr;
    KeyTap* keyTap = nullptr;
    HotkeyRegistrar* hotkeys = nullptr;
    KeySynthesizer* keys = nullptr;
    KeyboardLayout* keyboardLayout = nullptr; // none: labels come from the key events alone
    DesktopServices* desktop = nullptr;
    PointerMonitor* pointerMonitor = nullptr;
    WindowEffects* windowEffects = nullptr;
    // The per-user application data folder ($XDG_DATA_HOME); the history lives in Stashwell/ in it.
    QString dataFolder;

    static const Platform& current();
    static void install(const Platform& platform);
};
