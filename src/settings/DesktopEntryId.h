// The application id of a desktop entry file, as the ignored-applications list stores it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace DesktopEntryId {
// The desktop-entry id of a file: its path below one of `applicationFolders` with "/" turned into
// "-" (applications/kde/org.kde.kate.desktop is "kde-org.kde.kate"), without ".desktop"; a file
// outside those folders goes by its file name. Nothing when the file is not an application's
// desktop entry or its name makes no usable id.
std::optional<QString> forFile(const QString& path, const QStringList& applicationFolders);

// Whether the text is a desktop entry of type Application: the first group is [Desktop Entry] and
// it says Type=Application.
bool isApplicationEntry(const QByteArray& contents);
} // namespace DesktopEntryId
