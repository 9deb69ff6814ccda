#pragma once

#include "app_services.h"

#include "widgets/window_colours.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace app {

class QuestionWindow;

// The new-database dialog: the name of the database, the folder to index and
// the file-name patterns. It refuses bad input with its messages and decides
// whether the drive file list is built afresh by the file-list tool.
class NewDatabaseDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewDatabaseDialog(AppServices& services, QWidget* parent = nullptr);

    // What the main window tells the dialog before it is shown.
    void setQuestionWindow(QuestionWindow* window) { questionWindow_ = window; }
    void setUpdateMode(bool updateMode) { updateMode_ = updateMode; }
    void setCatalogueNames(const QStringList& names) { catalogueNames_ = names; }
    void setAdministrator(bool administrator) { administrator_ = administrator; }
    void setControlDirectory(const QString& directory, bool flagSet) {
        controlDirectory_ = directory;
        controlDirectoryFlag_ = flagSet;
    }
    // What the main window hands over at its first paint.
    void applyColours(const widgets::WindowColours& colours);
    void applyBackgroundColour(const QColor& colour);
    void applyHintTextColour(const QColor& colour);

    // Items of the pattern choice, kept sorted.
    void setExtensionChoices(const QStringList& patterns);
    QStringList extensionChoices() const;

    // Before every run: name and folder emptied, the list picture hidden.
    void clearForRun();
    // An update shows the stored database; the patterns come in upper case.
    void prefillForUpdate(const QString& name, const QString& folder, const QString& patterns);

    // Hand-back after the dialog closed.
    QString databaseName() const;
    QString folder() const;
    QString patterns() const;
    bool useTool() const { return useTool_; }
    QString selectedDatabaseName() const { return selectedDatabaseName_; }

    // Handlers, callable by tests as the user's actions.
    void onNameChanged();
    void onFolderChanged();
    void onChooseFolderClicked();
    void onClearPatternsClicked();
    void onShowPatternChoiceClicked();
    void onPatternChosen(int index);
    void onOkClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Applied again whenever the background changes, so it stays readable.
    QColor hintText_{Qt::white};
    void askListQuestion(QChar driveLetter, int pauseAfterNo);
    QString driveListDateText(const QString& listFile);

    AppServices& services_;
    QuestionWindow* questionWindow_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLineEdit* folderField_ = nullptr;
    QLineEdit* patternField_ = nullptr;
    QComboBox* patternChoice_ = nullptr;
    QLabel* listPicture_ = nullptr;
    QCheckBox* odtCheckBox_ = nullptr;
    QList<QLabel*> hintLabels_;

    bool updateMode_ = false;
    bool useTool_ = false;
    bool cDriveHintShown_ = false;
    bool administrator_ = false;
    bool controlDirectoryFlag_ = false;
    bool openingBrowser_ = false;
    QString controlDirectory_;
    QString listDateText_;
    QString selectedDatabaseName_;
    QStringList catalogueNames_;
};

} // namespace app
