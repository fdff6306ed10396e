#include "settings/ui/SettingsStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPalette>

QColor SettingsStyle::secondaryColor(const QPalette& palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.6);
    return color;
}

void SettingsStyle::setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QLabel* SettingsStyle::label(const QString& text, const QFont& font, QWidget* parent)
{
    auto* result = new QLabel(text, parent);
    result->setFont(font);
    result->setTextFormat(Qt::PlainText);
    return result;
}

QLabel* SettingsStyle::secondaryLabel(const QString& text, const QFont& font, QWidget* parent)
{
    QLabel* result = label(text, font, parent);
    setTextColor(result, secondaryColor(parent->palette()));
    return result;
}

QString SettingsStyle::slimScrollBarStyle(const QPalette& palette)
{
    const QColor text = palette.color(QPalette::WindowText);
    const auto rgba = [&text](double alpha) {
        return QStringLiteral("rgba(%1, %2, %3, %4)").arg(text.red()).arg(text.green()).arg(text.blue()).arg(alpha);
    };
    return QStringLiteral("QScrollBar:vertical { background: transparent; width: 10px; margin: 4px 2px 4px 0; }"
                          "QScrollBar::handle:vertical { background: %1; border-radius: 4px; min-height: 32px; }"
                          "QScrollBar::handle:vertical:hover, QScrollBar::handle:vertical:pressed { background: %2; }"
                          "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }"
                          "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
        .arg(rgba(0.22), rgba(0.4));
}
