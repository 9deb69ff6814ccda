#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// Test double: hands out the scripted answers in order (nothing = cancelled)
// and remembers the titles it was asked with.
class ScriptedFolderChooser final : public FolderChooser {
public:
    std::optional<QString> chooseFolder(QWidget*, const QString& title) override {
        titles.append(title);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<QString>> answers;
    QStringList titles;
};

} // namespace platform
