// Symbols from the program's resources, drawn in one colour at the size a widget asks for.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace SymbolImage {
// The symbol ":/resources/icons/<name>.svg" at `size` device-independent pixels for a screen of
// `devicePixelRatio`, every painted pixel in `color`. A null pixmap when there is no such symbol.
QPixmap pixmap(const QString& name, int size, const QColor& color, qreal devicePixelRatio);
// The same as an icon, sharp at ratios 1 and 2.
QIcon icon(const QString& name, int size, const QColor& color);
} // namespace SymbolImage
