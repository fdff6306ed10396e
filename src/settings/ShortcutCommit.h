// Changing the global shortcut from the settings window: the old one is suspended while a new one
// is recorded, a recorded one is stored and registered, and one that cannot be registered is
// rolled back to the previous shortcut, registered again, with a message saying why.
#pragma once

#include "hotkey/HotkeyShortcut.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class AppSettings;

class ShortcutCommit : public QObject
{
    Q_OBJECT
public:
    // What the commit asks of the rest of the program; every function may be empty. `reload`
    // registers the configured shortcut again and answers its status (0 for success).
    struct Services
    {
        std::function<void()> suspend;
        std::function<std::int32_t()> resume;
        std::function<std::int32_t()> reload;
        std::function<void()> beep;
    };

    ShortcutCommit(AppSettings& settings, Services services, QObject* parent = nullptr);

    // The recorder's four moments.
    void beginRecording();
    void cancelRecording();
    void rejectInvalid();
    void commit(const HotkeyShortcut& shortcut);

    // Why the last change did not take, until the next attempt.
    const std::optional<QString>& error() const { return m_error; }

signals:
    void errorChanged();

private:
    void setError(const std::optional<QString>& message);
    void beep();
    std::int32_t reload();

    AppSettings& m_settings;
    Services m_services;
    std::optional<QString> m_error;
};
