// An invalid combination typed while recording leaves the shortcut suspended (the recorder goes on
// recording); an invalid one committed ends the recording and resumes it.
#include "settings/ShortcutCommit.h"

#include "platform/HotkeyRegistrar.h"
#include "settings/AppSettings.h"

namespace {
const QString invalidShortcutMessage = QStringLiteral("Use at least Super, Ctrl or Alt with a key.");
} // namespace

ShortcutCommit::ShortcutCommit(AppSettings& settings, Services services, QObject* parent)
    : QObject(parent), m_settings(settings), m_services(std::move(services))
{}

void ShortcutCommit::beginRecording()
{
    setError(std::nullopt);
    // The old shortcut must not open the popup while the new one is being typed.
    if (m_services.suspend) {
        m_services.suspend();
    }
}

void ShortcutCommit::cancelRecording()
{
    if (m_services.resume) {
        m_services.resume();
    }
}

void ShortcutCommit::rejectInvalid()
{
    setError(invalidShortcutMessage);
}

void ShortcutCommit::commit(const HotkeyShortcut& shortcut)
{
    if (!shortcut.isValid()) {
        beep();
        setError(invalidShortcutMessage);
        cancelRecording();
        return;
    }
    const HotkeyShortcut previous = m_settings.hotkeyShortcut();
    m_settings.setHotkeyShortcut(shortcut);
    const std::int32_t status = reload();
    if (status == HotkeyRegistrar::noErr) {
        setError(std::nullopt);
        return;
    }
    // A shortcut that cannot be registered never stays in the settings.
    beep();
    m_settings.setHotkeyShortcut(previous);
    reload();
    if (status == HotkeyRegistrar::eventHotKeyExistsErr) {
        setError(QStringLiteral("That shortcut is already in use."));
    } else {
        setError(QStringLiteral("Could not register that shortcut. Status ") + QString::number(status) +
                 QLatin1Char('.'));
    }
}

void ShortcutCommit::setError(const std::optional<QString>& message)
{
    m_error = message;
    emit errorChanged();
}

void ShortcutCommit::beep()
{
    if (m_services.beep) {
        m_services.beep();
    }
}

std::int32_t ShortcutCommit::reload()
{
    return m_services.reload ? m_services.reload() : HotkeyRegistrar::noErr;
}
