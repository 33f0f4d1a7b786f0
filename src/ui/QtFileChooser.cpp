#include "ui/QtFileChooser.h"

#include <QDir>
#include <QFileDialog>

namespace quillon::gui {

std::optional<std::filesystem::path> QtFileChooser::chooseOpenFile(const FileDialogRequest& request) {
    return run(request, false);
}

std::optional<std::filesystem::path> QtFileChooser::chooseSaveFile(const FileDialogRequest& request) {
    return run(request, true);
}

std::optional<std::filesystem::path> QtFileChooser::run(const FileDialogRequest& request, bool save) {
    const QString startDirectory = QDir::currentPath();
    QFileDialog dialog(owner_, QString::fromStdString(request.title),
                       QString::fromStdString(request.initialFolder.string()));
    QStringList filters{QString::fromStdString(request.filterName)};
    for (const std::string& more : request.moreFilters) {
        filters.append(QString::fromStdString(more));
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QDir::setCurrent(startDirectory);
    if (!accepted) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

} // namespace quillon::gui
