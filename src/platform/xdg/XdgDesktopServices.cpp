// Desktop entries from the XDG applications folders, icons from the icon theme, and the file
// manager over D-Bus.
#include "platform/xdg/XdgDesktopServices.h"

#include "platform/xdg/DesktopEntry.h"
#include "platform/xdg/WindowIconCache.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QUuid>

namespace {
// Desktop-file ids never hold a slash; refusing odd ids keeps lookups inside the applications folders.
bool isPlausibleID(const QString& id)
{
    return !id.isEmpty() && !id.contains(QLatin1Char('/')) && !id.startsWith(QLatin1Char('.')) && id.size() < 256;
}

std::optional<DesktopEntry> entryFor(XdgDesktopServices& services, const QString& bundleID)
{
    const std::optional<QString> path = services.desktopEntryPath(bundleID);
    if (!path) {
        return std::nullopt;
    }
    return DesktopEntry::load(*path);
}

QIcon iconNamed(const QString& name)
{
    if (name.isEmpty()) {
        return {};
    }
    if (QDir::isAbsolutePath(name)) {
        return QFileInfo(name).isFile() ? QIcon(name) : QIcon();
    }
    // Some entries name the icon with its file extension, which the theme lookup does not expect.
    QString themeName = name;
    for (const char* extension : {".png", ".svg", ".xpm"}) {
        if (themeName.endsWith(QLatin1String(extension))) {
            themeName.chop(4);
        }
    }
    QIcon icon = QIcon::fromTheme(themeName);
    if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
        return icon;
    }
    if (!icon.isNull() && !icon.pixmap(32, 32).isNull()) {
        return icon;
    }
    // The legacy location for icons outside any theme.
    for (const char* extension : {".png", ".svg", ".xpm"}) {
        const QString legacy = QStringLiteral("/usr/share/pixmaps/") + themeName + QLatin1String(extension);
        if (QFileInfo(legacy).isFile()) {
            return QIcon(legacy);
        }
    }
    return {};
}
} // namespace

bool XdgDesktopServices::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool XdgDesktopServices::revealFile(const QString& path)
{
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return QDesktopServices::openUrl(folder);
    }
    // The file manager interface selects the file in a window of its folder. The call is
    // asynchronous so an absent or slow file manager never stalls the popup; when it fails, the
    // folder is opened with its default handler instead.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [folder](QDBusPendingCallWatcher* done) {
        if (done->isError()) {
            QDesktopServices::openUrl(folder);
        }
        done->deleteLater();
    });
    return true;
}

std::optional<QString> XdgDesktopServices::desktopEntryPath(const QString& bundleID)
{
    if (!isPlausibleID(bundleID)) {
        return std::nullopt;
    }
    // A desktop-file id names a file below an applications folder with its sub-folders joined by
    // "-" ("kde4-dolphin" may be kde4/dolphin.desktop); the first folder that has it wins, and a
    // hidden entry there hides the application altogether.
    QStringList candidates{bundleID + QStringLiteral(".desktop")};
    for (qsizetype dash = bundleID.indexOf(QLatin1Char('-')); dash > 0;
         dash = bundleID.indexOf(QLatin1Char('-'), dash + 1)) {
        QString nested = bundleID;
        nested[dash] = QLatin1Char('/');
        candidates.append(nested + QStringLiteral(".desktop"));
    }
    for (const QString& folder : applicationFolders()) {
        for (const QString& candidate : candidates) {
            const QString path = folder + QLatin1Char('/') + candidate;
            if (!QFileInfo(path).isFile()) {
                continue;
            }
            const std::optional<DesktopEntry> entry = DesktopEntry::load(path);
            if (!entry || entry->isHidden()) {
                return std::nullopt;
            }
            return path;
        }
    }
    return std::nullopt;
}

QIcon XdgDesktopServices::applicationIcon(const QString& bundleID)
{
    const std::optional<DesktopEntry> entry = entryFor(*this, bundleID);
    if (!entry) {
        // A program without an entry may have shown its own icon on a window.
        return WindowIconCache::load(bundleID);
    }
    return iconNamed(entry->value(QStringLiteral("Icon")).value_or(QString()));
}

std::optional<QString> XdgDesktopServices::applicationName(const QString& bundleID)
{
    const std::optional<DesktopEntry> entry = entryFor(*this, bundleID);
    if (!entry) {
        return std::nullopt;
    }
    std::optional<QString> name = entry->value(QStringLiteral("Name"), DesktopEntry::userLocales());
    if (name && name->isEmpty()) {
        return std::nullopt;
    }
    return name;
}

QStringList XdgDesktopServices::applicationFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

QIcon XdgDesktopServices::fileTypeIcon(const QString& mimeTypeName)
{
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForName(mimeTypeName);
    for (const QString& name : {type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")}) {
        QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
            return icon;
        }
    }
    return {};
}
