// Icons of applications that have no desktop entry, as their windows publish them, kept in the
// user's cache folder so that their cards show them after a restart too.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace WindowIconCache {
// Stores the icon of an application id (a no-op for a null image or an unusable id).
void save(const QString& bundleID, const QImage& image);
// The stored icon, or a null icon.
QIcon load(const QString& bundleID);
bool contains(const QString& bundleID);
} // namespace WindowIconCache
