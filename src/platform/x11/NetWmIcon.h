// The icons a window publishes in _NET_WM_ICON, read without trusting the sizes it claims.
#pragma once

#include <QByteArray>
#include <QImage>

namespace NetWmIcon {
// The property's 32-bit values (width, height, then width × height ARGB pixels, repeated) as the
// server returns them. The smallest image at least `preferredSize` wide and high, else the largest;
// a null image when none is whole.
QImage bestImage(const QByteArray& property, int preferredSize);
} // namespace NetWmIcon
