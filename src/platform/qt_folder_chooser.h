#pragma once

#include "folder_chooser.h"

namespace platform {

// The platform's folder browser (QFileDialog): folders only, no preselection.
class QtFolderChooser final : public FolderChooser {
public:
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title) override;
};

} // namespace platform
