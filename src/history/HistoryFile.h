// The history file's format: a compact JSON array of item objects.
#pragma once

#include "history/ClipboardItem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace HistoryFile {
// Compact JSON; absent optionals left out, upper-case UUIDs, UTC dates with whole seconds.
QByteArray encode(const QList<ClipboardItem>& items);
// The whole list, or nothing when any entry is malformed (one bad entry rejects the file).
// `error`, when given, receives a short reason.
std::optional<QList<ClipboardItem>> decode(const QByteArray& json, QString* error = nullptr);
} // namespace HistoryFile
