// A settings view over its own settings, store and fake desktop, with the hotkey calls recorded.
#pragma once

#include "history/ClipboardStore.h"
#include "settings/AppSettings.h"
#include "settings/ui/SettingsView.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <deque>
#include <memory>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class SettingsViewFixture
{
public:
    SettingsViewFixture() = default;

    // The settings are read when the view is first asked for, so tests can prepare the defaults.
    SettingsView& view();
    // What the view is given: hotkey calls recorded, statuses and permission as the test sets them.
    SettingsView::Services services();
    AppSettings& settings();
    ClipboardStore& store();
    MemoryDefaultsStore& defaults() { return environment.platform.defaults; }

    // Adds `count` unpinned text entries.
    void addItems(int count);

    FakeEnvironment environment;
    // "suspend", "resume", "reload" in the order the view called them.
    QStringList hotkeyCalls;
    // Statuses the next reloads answer (0 once they run out).
    std::deque<std::int32_t> reloadStatuses;
    int beeps = 0;
    bool accessibilityGranted = true;

private:
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<ClipboardStore> m_store;
    std::unique_ptr<SettingsView> m_view;
    int m_nextItem = 0;
};
