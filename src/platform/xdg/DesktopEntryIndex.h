// The installed applications' desktop entries, indexed for naming the window or process in front.
// Scanned once and again only when an applications folder changes.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class DesktopEntryIndex
{
public:
    // What the index keeps of one application's entry (DesktopEntry is the whole parsed file).
    struct Entry
    {
        QString id;   // the file's desktop-entry id ("org.gnome.TextEditor")
        QString name; // the localized Name
        QString startupWMClass;
        QString executable; // the file name of Exec's program ("gedit")
        bool execHasArguments = false; // Exec passes more than the file or URL field codes
        bool noDisplay = false;        // kept out of the menus (a settings panel, a helper)
    };

    // `folders` lists the applications folders, most important first (read at each refresh).
    explicit DesktopEntryIndex(std::function<QStringList()> folders = standardFolders, QString locale = QString());

    // $XDG_DATA_HOME/applications, then those of $XDG_DATA_DIRS.
    static QStringList standardFolders();

    // Rescans when an applications folder (or the list of them) changed since the last scan: a
    // few stat calls when nothing did. Lookups answer from the last scan.
    void refreshIfChanged();

    std::optional<Entry> byId(const QString& id);
    std::optional<Entry> byIdIgnoringCase(const QString& id);
    std::optional<Entry> byStartupWMClass(const QString& wmClass);
    // The entry that runs this program. When several do (an editor and its settings panel), the
    // one whose id ends with the program's name, then one that runs it without extra arguments, one
    // shown in menus, the shortest id. Nothing when no entry is meant by either of the first two
    // (wrappers such as "env" run many programs and name none of them).
    std::optional<Entry> byExecutable(const QString& executable);

    // Parses one entry; nothing when it is not a visible application entry.
    static std::optional<Entry> parse(const QByteArray& contents, const QString& id, const QString& locale);

private:
    void scan();
    void scanFolder(const QString& root, const QString& folder, const QString& prefix);

    std::function<QStringList()> m_folders;
    QString m_locale;
    bool m_scanned = false;
    QHash<QString, QDateTime> m_folderTimes; // every scanned folder, to notice installs and removals
    QStringList m_roots;
    QList<Entry> m_entries;
    QSet<QString> m_seenIds;
    QHash<QString, qsizetype> m_byId;
    QHash<QString, qsizetype> m_byLowerId;
    QHash<QString, qsizetype> m_byWMClass;
    QHash<QString, QList<qsizetype>> m_byExecutable;
};
