// The pasteboard types that mark content which must never enter the history (password managers,
// transient and generated content).
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace ConcealedTypes {
const QSet<QString>& all();
bool anyIn(const QStringList& types);
} // namespace ConcealedTypes
