// Qt's own dialog rather than the desktop's, so that its confirm button can say what choosing does.
#include "settings/ui/AppPickerDialog.h"

#include <QFileDialog>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <memory>

std::optional<QString> AppPickerDialog::choose(QWidget* parent, const QStringList& folders)
{
    // On the heap and watched: the parent may be destroyed while the dialog runs, and takes it along.
    QPointer<QFileDialog> dialog = new QFileDialog(parent, QStringLiteral("Choose an App to Ignore"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(QStringLiteral("Applications (*.desktop)"));
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Ignore"));
    if (!folders.isEmpty()) {
        dialog->setDirectory(folders.first());
        QList<QUrl> sidebar;
        for (const QString& folder : folders) {
            sidebar.append(QUrl::fromLocalFile(folder));
        }
        dialog->setSidebarUrls(sidebar);
    }
    const int response = dialog->exec();
    if (!dialog) {
        return std::nullopt;
    }
    const std::unique_ptr<QFileDialog> done(dialog.data());
    if (response != QDialog::Accepted || done->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return done->selectedFiles().constFirst();
}
