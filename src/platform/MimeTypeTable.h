// How the clipboard's MIME types (and the X targets X11 owners add) translate to the pasteboard type
// identifiers of the core, on X11 and Wayland alike.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace MimeTypeTable {
// The targets that stand for an identifier, most preferred first; empty for identifiers that have
// no byte target of their own (file URLs, colours) and for names the core does not know.
QList<QByteArray> targetsFor(const QString& identifier);

// Targets of the selection protocol itself (TARGETS, TIMESTAMP, INCR...): never content.
bool isProtocolTarget(const QByteArray& target);

// The identifiers a list of offered targets stands for: every identifier with an offered target,
// a PNG when only another raster image type is offered (the reader converts it), the file-URL and
// colour flavours, then every other target under its own name (markers such as
// "x-kde-passwordManagerHint" must stay visible).
QStringList identifiersFor(const QList<QByteArray>& offered);

// The raster image/* targets that can stand in for a PNG, in the owner's order: none when PNG or
// TIFF is offered itself.
QList<QByteArray> convertibleImageTargets(const QList<QByteArray>& offered);
// The image format (as Qt's image readers name it) that a raster target names; empty for others.
QByteArray rasterFormatOf(const QByteArray& target);

inline constexpr const char* uriList = "text/uri-list";
inline constexpr const char* gnomeCopiedFiles = "x-special/gnome-copied-files";
inline constexpr const char* xColor = "application/x-color";
} // namespace MimeTypeTable
