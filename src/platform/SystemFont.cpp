#include "platform/SystemFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace {
QFont sized(QFont font, int pixelSize, QFont::Weight weight)
{
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}
} // namespace

QFont SystemFont::regular(int pixelSize, QFont::Weight weight)
{
    return sized(QGuiApplication::font(), pixelSize, weight);
}

QFont SystemFont::monospaced(int pixelSize, QFont::Weight weight)
{
    return sized(QFontDatabase::systemFont(QFontDatabase::FixedFont), pixelSize, weight);
}
