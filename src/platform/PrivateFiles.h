// Files that only their owner may read: the history holds one person's clipboard secrets.
#pragma once

#include <QByteArray>
#include <QString>

namespace PrivateFiles {
// Creates the folder (and its parents) and makes it 0700, also when it already existed looser.
bool ensureFolder(const QString& path);
// Makes an existing file 0600.
bool restrictFile(const QString& path);
// Writes a new 0600 file in place (not atomic). False when any byte could not be written.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Writes a 0600 temporary file beside `path`, flushes it to disk and renames it over `path`, then
// syncs the folder: after a crash at any moment, `path` holds either the old or the new content.
bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
} // namespace PrivateFiles
