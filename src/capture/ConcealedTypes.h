// The pasteboard types that mark content which must never enter the history (password managers,
// transient and generated content).
#pragma once

#include <QSet>
#include <QString>

namespace ConcealedTypes {
const QSet<QString>& all();
} // namespace ConcealedTypes
