// Reading the files that entries name, for their previews: regular files only, opened without
// blocking, never more bytes than asked for.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace PreviewFile {
struct Head
{
    QByteArray bytes;
    bool isWhole = false; // the file ends within the bytes read
};

// Up to `maxBytes` from the start of the file. Nothing unless the path names a regular file once
// symbolic links are followed: a FIFO, a device or a socket is never opened, so none of them can
// block the reader or feed it without end.
std::optional<Head> readHead(const QString& path, qint64 maxBytes);
// The whole file; nothing when it is larger than `maxBytes` or is not a regular file.
std::optional<QByteArray> readWhole(const QString& path, qint64 maxBytes);

// The MIME type name of what the path names, for its icon: from the name and the first bytes of a
// regular file, "inode/directory" and the other "inode/" types for what is not one, from the name
// alone when nothing is there.
QString typeName(const QString& path);
} // namespace PreviewFile
