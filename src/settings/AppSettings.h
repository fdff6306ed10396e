// The user's settings: read once from the defaults store, written back the moment they change.
#pragma once

#include "hotkey/HotkeyShortcut.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <cstdint>
#include <functional>

class DefaultsStore;
class LoginItem;
class SystemLog;

class AppSettings : public QObject
{
    Q_OBJECT
public:
    // `applyMaxHistoryItems` is what a change of the cap does to the history (trim it at once).
    AppSettings(DefaultsStore& defaults, LoginItem& loginItem, SystemLog& log,
                std::function<void()> applyMaxHistoryItems, QObject* parent = nullptr);

    // The one settings object of the program, over the installed platform's defaults store.
    static AppSettings& shared();

    bool pauseCapture() const { return m_pauseCapture; }
    bool launchAtLogin() const { return m_launchAtLogin; }
    std::int64_t maxHistoryItems() const { return m_maxHistoryItems; }
    bool clearOnQuit() const { return m_clearOnQuit; }
    bool autoPasteOnSelect() const { return m_autoPasteOnSelect; }
    double popupHeightFraction() const { return m_popupHeightFraction; }
    HotkeyShortcut hotkeyShortcut() const { return m_hotkeyShortcut; }
    QSet<QString> ignoredBundleIDs() const { return m_ignoredBundleIDs; }

    // Every setter stores the value and runs its side effect, also when the value is unchanged.
    void setPauseCapture(bool value);
    void setLaunchAtLogin(bool value);
    void setMaxHistoryItems(std::int64_t value);
    void setClearOnQuit(bool value);
    void setAutoPasteOnSelect(bool value);
    void setPopupHeightFraction(double value);
    void setHotkeyShortcut(const HotkeyShortcut& value);
    void setIgnoredBundleIDs(const QSet<QString>& value);

    static constexpr std::int64_t defaultMaxHistoryItems = 200;
    static constexpr double defaultPopupHeightFraction = 0.32;

signals:
    void pauseCaptureChanged();
    void launchAtLoginChanged();
    void maxHistoryItemsChanged();
    void clearOnQuitChanged();
    void autoPasteOnSelectChanged();
    void popupHeightFractionChanged();
    void hotkeyShortcutChanged();
    void ignoredBundleIDsChanged();

private:
    void updateLoginItem(bool enable);

    DefaultsStore& m_defaults;
    LoginItem& m_loginItem;
    SystemLog& m_log;
    std::function<void()> m_applyMaxHistoryItems;

    bool m_pauseCapture = false;
    bool m_launchAtLogin = false;
    std::int64_t m_maxHistoryItems = defaultMaxHistoryItems;
    bool m_clearOnQuit = false;
    bool m_autoPasteOnSelect = true;
    double m_popupHeightFraction = defaultPopupHeightFraction;
    HotkeyShortcut m_hotkeyShortcut = HotkeyShortcut::defaultShortcut();
    QSet<QString> m_ignoredBundleIDs;
};
