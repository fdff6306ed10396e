// The settings window's look: its fonts, colours and text labels, shared by its parts.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QPalette;
class QWidget;

namespace SettingsStyle {
inline const QColor destructiveRed{0xD7, 0x3A, 0x31};
inline const QColor warningOrange{0xF0, 0x8A, 0x00};

// Text that steps back: the text colour at reduced strength.
QColor secondaryColor(const QPalette& palette);
void setTextColor(QWidget* widget, const QColor& color);

// Plain-text labels (a file or app name must never be read as markup).
QLabel* label(const QString& text, const QFont& font, QWidget* parent);
QLabel* secondaryLabel(const QString& text, const QFont& font, QWidget* parent);

// A thin rounded scroll bar without arrows, so the settings read as one page rather than a list.
QString slimScrollBarStyle(const QPalette& palette);
} // namespace SettingsStyle
