// The hexadecimal form of a colour: "#RRGGBB" when opaque, "#RRGGBBAA" otherwise, upper-case digits.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

QString hexString(const QColor& color);
// Reads "#RRGGBB" or "#RRGGBBAA" (the "#" optional); nothing for any other form.
std::optional<QColor> fromHex(const QString& text);
