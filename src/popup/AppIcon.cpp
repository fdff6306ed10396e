// The program-wide icon and colour caches, over the installed desktop services.
#include "popup/AppIcon.h"

#include "platform/DesktopServices.h"
#include "platform/Platform.h"
#include "popup/AppIconCache.h"

AppIconCache& AppIcon::shared()
{
    static AppIconCache* cache = new AppIconCache(Platform::current().desktop);
    return *cache;
}

QIcon AppIcon::icon(const QString& bundleID)
{
    return shared().icon(bundleID).value_or(QIcon());
}

std::optional<QIcon> AppIcon::icon(const std::optional<QString>& bundleID)
{
    return shared().icon(bundleID);
}

QColor AppIcon::accentColor(const std::optional<QString>& bundleID)
{
    return shared().accentColor(bundleID);
}

QIcon AppIcon::fileTypeIcon(const QString& mimeTypeName)
{
    DesktopServices* desktop = Platform::current().desktop;
    return desktop ? desktop->fileTypeIcon(mimeTypeName) : QIcon();
}
