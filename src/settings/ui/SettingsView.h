// The content of the settings window: every setting, the history count, the version and Quit.
#pragma once

#include "hotkey/HotkeyShortcut.h"
#include "hotkey/ui/RecorderButton.h"
#include "settings/IgnoredApps.h"
#include "settings/ShortcutCommit.h"

#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class AppSettings;
class ClipboardStore;
class DesktopServices;
class HotkeyRecorderView;
class IgnoredAppsList;
class QBoxLayout;
class QLabel;
class QSlider;
class SettingsToggle;

class SettingsView : public QWidget
{
    Q_OBJECT
public:
    // What the view asks of the rest of the program; tests put their own functions in.
    struct Services
    {
        std::function<void()> suspendShortcut;
        std::function<std::int32_t()> resumeShortcut;
        std::function<std::int32_t()> reloadShortcut;
        std::function<bool()> hasAccessibilityPermission;
        std::function<QIcon(const QString& bundleID)> appIcon;
        std::function<void()> beep;
        std::function<void()> quit;
        DesktopServices* desktop = nullptr;

        // The shared hotkey manager, the paste permission check, the icon cache, the desktop.
        static Services shared();
    };

    // Over the shared settings and store.
    explicit SettingsView(QWidget* parent = nullptr);
    SettingsView(AppSettings& settings, ClipboardStore& store, Services services, QWidget* parent = nullptr);
    ~SettingsView() override;

    // Stores a recorded shortcut and registers it; when the registration fails, puts the previous
    // one back, registers that again and says why (ShortcutCommit).
    void commitHotkey(const HotkeyShortcut& shortcut) { m_shortcutCommit.commit(shortcut); }
    // Asks for an application's desktop entry and adds the application to the ignored ones.
    void pickAppToIgnore();
    // One tick of the once-a-second permission check.
    void pollAccessibility();

    std::optional<QString> hotkeyError() const { return m_shortcutCommit.error(); }
    bool isAccessibilityGranted() const { return m_accessibilityGranted; }
    HotkeyRecorderView* recorder() const { return m_recorder; }

    static constexpr int width = 520;
    static constexpr int height = 640;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* header();
    QWidget* logo();
    QWidget* section(const QString& title, const QList<QWidget*>& content);
    QWidget* row(const QString& title, const QString& detail);
    QWidget* generalSection();
    QWidget* historySection();
    QWidget* popupSection();
    QWidget* privacySection();
    QWidget* aboutSection();

    RecorderCallbacks recorderCallbacks();

    // Model to view; none of these writes anything back.
    void showHotkeyError();
    void showLaunchAtLogin();
    void showPauseCapture();
    void showMaxHistoryItems();
    void showClearOnQuit();
    void showItemCount();
    void showHotkeyShortcut();
    void showAutoPaste();
    void showPopupHeight();
    void showIgnoredApps();

    AppSettings& m_settings;
    ClipboardStore& m_store;
    Services m_services;
    ShortcutCommit m_shortcutCommit;
    IgnoredApps m_ignoredApps;

    bool m_accessibilityGranted = false;
    QTimer m_accessibilityPoll;

    SettingsToggle* m_launchAtLogin = nullptr;
    SettingsToggle* m_pauseCapture = nullptr;
    QLabel* m_maxHistoryItemsValue = nullptr;
    QSlider* m_maxHistoryItemsSlider = nullptr;
    SettingsToggle* m_clearOnQuit = nullptr;
    QLabel* m_itemCount = nullptr;
    HotkeyRecorderView* m_recorder = nullptr;
    QLabel* m_hotkeyErrorLabel = nullptr;
    SettingsToggle* m_autoPaste = nullptr;
    QWidget* m_accessibilityWarning = nullptr;
    QLabel* m_popupHeightValue = nullptr;
    QSlider* m_popupHeightSlider = nullptr;
    IgnoredAppsList* m_ignoredAppsList = nullptr;
    QLabel* m_popupHint = nullptr;
};
