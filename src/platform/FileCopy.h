// Copying a file over another so that a failure at any point leaves the target as it was.
#pragma once

#include <QString>

namespace FileCopy {
// Writes a copy of `source` beside `target` and renames it over `target`. An existing target keeps
// its permissions; a new one gets the source's. False, with the reason in `error`, when the copy
// could not be made; `target` is then untouched and no partial file is left.
bool replace(const QString& source, const QString& target, QString* error = nullptr);
} // namespace FileCopy
