#include "qt_folder_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace platform {

std::optional<QString> QtFolderChooser::chooseFolder(QWidget* parent, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, title, QDir::homePath(),
        // Read-only: the browser offers no button for new folders.
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks | QFileDialog::ReadOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace platform
