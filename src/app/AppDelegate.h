// The program's shell: the tray icon and its menu, and the launch and termination sequences.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

class AppSettings;
class ClipboardStore;
class QMenu;

class AppDelegate : public QObject
{
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);
    // The menu, "Clear History" and the termination sequence use these instead of the shared ones
    // (for tests).
    AppDelegate(AppSettings& settings, ClipboardStore& store, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Tray icon, then the clipboard monitor, then the global shortcut.
    void applicationDidFinishLaunching();
    // Clear on quit (when set), flush the history, stop the monitor, drop the shortcut. Runs once,
    // however the program ends (the menu, a signal from the session).
    void applicationWillTerminate();

    // What a click on the tray icon does: a plain left click toggles the popup; a right click, or a
    // left click with Control held, opens the menu.
    enum class ClickAction { TogglePopup, OpenMenu };
    static ClickAction actionForActivation(QSystemTrayIcon::ActivationReason reason, Qt::KeyboardModifiers modifiers);

    // The six-entry menu, built anew each time so its first entry shows the current shortcut.
    std::unique_ptr<QMenu> buildMenu();

    void toggleWindow();
    void openSettings();
    void clearHistory();

private:
    void setupStatusItem();
    AppSettings& settings() const;
    ClipboardStore& store() const;
    void statusItemClicked(QSystemTrayIcon::ActivationReason reason);

    AppSettings* m_settings = nullptr;
    ClipboardStore* m_store = nullptr;
    QSystemTrayIcon* m_statusItem = nullptr;
    bool m_terminated = false;
};
