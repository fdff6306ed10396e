// The ignored applications as the settings window shows and changes them: listed by desktop-entry
// id under their entries' names, added by choosing an entry file in the applications folders.
#pragma once

#include <QString>
#include <QStringList>

class AppSettings;
class DesktopServices;

class IgnoredApps
{
public:
    // `desktop` may be null: names are then the ids, and only the system's folder is searched.
    IgnoredApps(AppSettings& settings, DesktopServices* desktop);

    // The ignored ids in the order the list shows them.
    QStringList ids() const;
    // The application's name from its desktop entry, else the id itself.
    QString displayName(const QString& id) const;
    void remove(const QString& id);

    // Where desktop entries live: the system's own applications first, then the user's and the
    // other data folders'.
    QStringList applicationFolders() const;
    // Those of them that exist, for the file dialog to start in and offer.
    QStringList existingApplicationFolders() const;
    // The chosen file's id joins the ignored applications (stored again when it is already there);
    // a file that is no application's desktop entry changes nothing. Answers whether it joined.
    bool ignoreApplicationAt(const QString& desktopFilePath);

private:
    AppSettings& m_settings;
    DesktopServices* m_desktop;
};
