// The desktop's "system font at N points": the application font at N device-independent pixels.
#pragma once

#include <QFont>

namespace SystemFont {
QFont regular(int pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospaced(int pixelSize, QFont::Weight weight = QFont::Normal);
} // namespace SystemFont
