#include "platform/xdg/XdgDesktopServices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStandardPaths>

bool XdgDesktopServices::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool XdgDesktopServices::revealFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

std::optional<QString> XdgDesktopServices::desktopEntryPath(const QString&)
{
    return std::nullopt;
}

QIcon XdgDesktopServices::applicationIcon(const QString&)
{
    return {};
}

std::optional<QString> XdgDesktopServices::applicationName(const QString&)
{
    return std::nullopt;
}

QStringList XdgDesktopServices::applicationFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}
