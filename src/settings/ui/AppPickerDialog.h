// The file dialog that picks an application to ignore by its desktop entry.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace AppPickerDialog {
// Runs the dialog over `parent`, starting in the first of `folders` and offering them all in its
// sidebar; the chosen file, or nothing when the user cancels or `parent` goes away meanwhile.
std::optional<QString> choose(QWidget* parent, const QStringList& folders);
} // namespace AppPickerDialog
