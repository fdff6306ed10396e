// Ids sort by code point, so the list's order does not change with the user's language.
#include "settings/IgnoredApps.h"

#include "platform/DesktopServices.h"
#include "settings/AppSettings.h"
#include "settings/DesktopEntryId.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

IgnoredApps::IgnoredApps(AppSettings& settings, DesktopServices* desktop) : m_settings(settings), m_desktop(desktop) {}

QStringList IgnoredApps::ids() const
{
    const QSet<QString> ignored = m_settings.ignoredBundleIDs();
    QStringList ids(ignored.cbegin(), ignored.cend());
    std::sort(ids.begin(), ids.end(), [](const QString& a, const QString& b) { return a.toUcs4() < b.toUcs4(); });
    return ids;
}

QString IgnoredApps::displayName(const QString& id) const
{
    if (m_desktop) {
        const auto name = m_desktop->applicationName(id);
        if (name && !name->trimmed().isEmpty()) {
            return *name;
        }
    }
    return id;
}

void IgnoredApps::remove(const QString& id)
{
    QSet<QString> ids = m_settings.ignoredBundleIDs();
    ids.remove(id);
    m_settings.setIgnoredBundleIDs(ids);
}

QStringList IgnoredApps::applicationFolders() const
{
    QStringList folders{QStringLiteral("/usr/share/applications")};
    if (m_desktop) {
        for (const QString& folder : m_desktop->applicationFolders()) {
            const QString clean = QDir::cleanPath(folder);
            if (!folders.contains(clean)) {
                folders.append(clean);
            }
        }
    }
    return folders;
}

QStringList IgnoredApps::existingApplicationFolders() const
{
    QStringList folders = applicationFolders();
    folders.removeIf([](const QString& folder) { return !QFileInfo(folder).isDir(); });
    return folders;
}

bool IgnoredApps::ignoreApplicationAt(const QString& desktopFilePath)
{
    const auto id = DesktopEntryId::forFile(desktopFilePath, applicationFolders());
    if (!id) {
        return false;
    }
    QSet<QString> ids = m_settings.ignoredBundleIDs();
    ids.insert(*id);
    m_settings.setIgnoredBundleIDs(ids);
    return true;
}
