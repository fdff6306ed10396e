// The store's folder on disk: where the history and the stored files live, which files are the
// store's own, and the start-up sweep of those that no entry names.
#pragma once

#include "history/ClipboardItem.h"

#include <QList>
#include <QString>
#include <QStringList>

class HistoryFolder
{
public:
    // `path` may be spelled loosely (a trailing slash, doubled slashes): it is cleaned.
    explicit HistoryFolder(const QString& path);

    // Creates the folders, private. An images/ or assets/ that is a symbolic link is refused: it is
    // left as it is, and no file is written in it, deleted from it or made private through it.
    // Returns the refused folders.
    QStringList prepare();

    QString path() const { return m_path; }
    QString historyFile() const;
    QString images() const;
    QString assets() const;

    // Whether `folder` is images/ or assets/ and not refused.
    bool canStoreIn(const QString& folder) const;
    // Whether `path` names a file directly inside images/ or assets/ (and that folder is not refused).
    bool owns(const QString& path) const;

    // Entries name their files by absolute path, so a folder reached another way (a trailing slash in
    // XDG_DATA_HOME, a home through a symbolic link, a data folder moved) leaves them naming another
    // prefix. A path ending in images/<name> or assets/<name>, where this folder holds that name, is
    // pointed here. Returns how many entries changed.
    int repoint(QList<ClipboardItem>& items) const;

    // A history that could not be read, kept aside (history.json.unreadable-...); empty if none.
    QString setAsideHistory() const;
    // Temporary files of a history save cut short by a crash or a kill.
    void removeStaleTemporaryFiles() const;
    // Deletes the files of images/ and assets/ that are named as the store names its files and that
    // no entry names; anything else there (other names, folders) stays. Makes the named ones private.
    void sweep(const QList<ClipboardItem>& items) const;

private:
    QString m_path;
    bool m_imagesRefused = false;
    bool m_assetsRefused = false;
};
