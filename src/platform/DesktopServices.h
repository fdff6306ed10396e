// The desktop's shell services: opening links, showing files, application entries and icons.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class DesktopServices
{
public:
    virtual ~DesktopServices() = default;

    virtual bool openUrl(const QUrl& url) = 0;
    // Shows the file selected in the file manager, or at least opens its folder.
    virtual bool revealFile(const QString& path) = 0;

    // The desktop entry (.desktop file) of an application id, when one is installed.
    virtual std::optional<QString> desktopEntryPath(const QString& bundleID) = 0;
    // The application's icon from its desktop entry and the icon theme (null when none).
    virtual QIcon applicationIcon(const QString& bundleID) = 0;
    // The entry's localized Name, when there is an entry.
    virtual std::optional<QString> applicationName(const QString& bundleID) = 0;
    // Folders that hold desktop entries, most important first.
    virtual QStringList applicationFolders() = 0;
    // The icon of a file type, named by its MIME type, from the icon theme (null when the theme
    // has none). It takes the type rather than the file: finding a file's type reads the file,
    // which is no work for the main thread.
    virtual QIcon fileTypeIcon(const QString& mimeTypeName)
    {
        (void)mimeTypeName;
        return {};
    }
};
