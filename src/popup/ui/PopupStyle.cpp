// One place for the popup's typography and palette.
#include "popup/ui/PopupStyle.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>

QColor PopupStyle::white(double opacity)
{
    QColor color(Qt::white);
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

QColor PopupStyle::black(double opacity)
{
    QColor color(Qt::black);
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

QColor PopupStyle::secondary()
{
    return white(0.55);
}

QColor PopupStyle::accent()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
}
