// Icons and header colours of source applications, cached for the life of the program.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <optional>

class AppIconCache;

namespace AppIcon {
// The application's icon, or a null icon when it has none.
QIcon icon(const QString& bundleID);
std::optional<QIcon> icon(const std::optional<QString>& bundleID);
// The card header colour derived from the icon; the system blue without a usable icon.
QColor accentColor(const std::optional<QString>& bundleID);
inline QColor headerColor(const std::optional<QString>& bundleID)
{
    return accentColor(bundleID);
}
// The icon of a file type (a MIME type name) from the desktop's icon theme; not cached (a card asks once).
QIcon fileTypeIcon(const QString& mimeTypeName);
// The one pair of caches of the program, over the installed platform's desktop services.
AppIconCache& shared();
} // namespace AppIcon
