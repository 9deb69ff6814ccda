#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace platform {

// The folder browser of the new-database dialog. The windows ask through this
// seam so that tests can answer without a modal file dialog.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // A native directory, or nothing when the user cancelled.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title) = 0;
};

} // namespace platform
