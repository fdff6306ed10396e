// Icons and header colours of source applications, cached for the life of the program.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <optional>

namespace AppIcon {
// The application's icon, or a null icon when it has none.
QIcon icon(const QString& bundleID);
// The card header colour derived from the icon; the system blue without a usable icon.
QColor headerColor(const std::optional<QString>& bundleID);
} // namespace AppIcon
