// A settings view over its own settings, store and fake desktop.
#include "SettingsViewFixture.h"

AppSettings& SettingsViewFixture::settings()
{
    if (!m_settings) {
        FakePlatform& platform = environment.platform;
        m_settings = std::make_unique<AppSettings>(platform.defaults, platform.loginItem, platform.log,
                                                   [this] { store().applyMaxHistoryItems(); });
    }
    return *m_settings;
}

ClipboardStore& SettingsViewFixture::store()
{
    if (!m_store) {
        m_store = std::make_unique<ClipboardStore>(environment.historyFolder(), environment.platform.scheduler,
                                                   [this] { return settings().maxHistoryItems(); });
    }
    return *m_store;
}

SettingsView::Services SettingsViewFixture::services()
{
    SettingsView::Services services;
    services.suspendShortcut = [this] { hotkeyCalls << QStringLiteral("suspend"); };
    services.resumeShortcut = [this] {
        hotkeyCalls << QStringLiteral("resume");
        return 0;
    };
    services.reloadShortcut = [this] {
        hotkeyCalls << QStringLiteral("reload");
        if (reloadStatuses.empty()) {
            return 0;
        }
        const std::int32_t status = reloadStatuses.front();
        reloadStatuses.pop_front();
        return status;
    };
    services.hasAccessibilityPermission = [this] { return accessibilityGranted; };
    services.appIcon = [this](const QString& id) { return environment.platform.desktop.icons.value(id); };
    services.beep = [this] { ++beeps; };
    services.quit = [] {};
    services.desktop = &environment.platform.desktop;
    return services;
}

SettingsView& SettingsViewFixture::view()
{
    if (!m_view) {
        m_view = std::make_unique<SettingsView>(settings(), store(), services());
    }
    return *m_view;
}

void SettingsViewFixture::addItems(int count)
{
    for (int i = 0; i < count; ++i) {
        ClipboardItem item = textItem(QStringLiteral("entry %1").arg(m_nextItem++));
        item.characterCount = item.text->size();
        store().add(item);
    }
}
