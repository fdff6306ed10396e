// Fonts and colours shared by the popup's views.
#pragma once

#include <QColor>
#include <QFont>

namespace PopupStyle {
QColor white(double opacity);
QColor black(double opacity);
// The secondary foreground on the popup's dark material.
QColor secondary();
// The accent of selection borders: the desktop's highlight colour.
QColor accent();
} // namespace PopupStyle
