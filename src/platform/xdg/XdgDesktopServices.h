// Desktop services on a freedesktop.org desktop: desktop entries, the icon theme, the file manager.
#pragma once

#include "platform/DesktopServices.h"

class XdgDesktopServices final : public DesktopServices
{
public:
    bool openUrl(const QUrl& url) override;
    bool revealFile(const QString& path) override;
    std::optional<QString> desktopEntryPath(const QString& bundleID) override;
    QIcon applicationIcon(const QString& bundleID) override;
    std::optional<QString> applicationName(const QString& bundleID) override;
    QStringList applicationFolders() override;
    QIcon fileTypeIcon(const QString& mimeTypeName) override;
};
