#include "popup/AppIcon.h"

#include "platform/DesktopServices.h"
#include "platform/Platform.h"

QIcon AppIcon::icon(const QString& bundleID)
{
    DesktopServices* desktop = Platform::current().desktop;
    return desktop ? desktop->applicationIcon(bundleID) : QIcon();
}

QColor AppIcon::headerColor(const std::optional<QString>&)
{
    return QColor(0, 122, 255);
}
