#include "new_database_dialog.h"

#include "question_window.h"
#include "system_texts.h"

#include "database/drive_file_list.h"
#include "indexing/new_database_checks.h"
#include "platform/program_directory.h"
#include "widgets/object_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace names = widgets::objectnames::new_database_dialog;

namespace {

QLabel* label(const QString& text, const char* name, QWidget* parent) {
    return widgets::named(new QLabel(text, parent), name);
}

} // namespace

NewDatabaseDialog::NewDatabaseDialog(AppServices& services, QWidget* parent)
    : QDialog(parent)
    , services_(services) {
    widgets::named(this, names::window);
    setWindowTitle(QStringLiteral("Neue Datenbank"));

    auto* label1 = label(QStringLiteral("Name der Datenbank: "), names::nameLabel, this);
    nameField_ = new QLineEdit(this);
    widgets::named(nameField_, names::nameField);

    auto* label2 =
        label(QStringLiteral("Ausgewähltes Laufwerk oder Ordner:"), names::folderLabel, this);
    folderField_ = new QLineEdit(this);
    widgets::named(folderField_, names::folderField);
    // Typed paths are not taken: every click or key opens the folder browser.
    folderField_->setReadOnly(true);
    folderField_->installEventFilter(this);
    auto* folderButton = new QToolButton(this);
    widgets::named(folderButton, names::chooseFolderButton);
    folderButton->setIcon(QIcon(QStringLiteral(":/trovex/ordner.xpm")));
    folderButton->setToolTip(QStringLiteral("Ordner zum Scannen wählen"));

    auto* label3 = label(QStringLiteral("Endung Html-Dateien:"), names::patternLabel, this);
    patternField_ = new QLineEdit(QStringLiteral("*.odt"), this);
    widgets::named(patternField_, names::patternField);
    patternField_->setReadOnly(true);
    auto* clearPatterns = new QPushButton(QStringLiteral("X"), this);
    widgets::named(clearPatterns, names::clearPatternsButton);
    clearPatterns->setFixedWidth(28);
    auto* choosePattern = new QToolButton(this);
    widgets::named(choosePattern, names::patternChoiceButton);
    choosePattern->setArrowType(Qt::DownArrow);
    patternChoice_ = new QComboBox(this);
    widgets::named(patternChoice_, names::patternChoice);
    patternChoice_->setMaxVisibleItems(20);
    patternChoice_->setFixedSize(1, 1); // hidden in the layout; only its list pops up
    // The four kinds of document the program reads; AuswahlEndungen.txt,
    // when there is one, replaces them at the first paint.
    setExtensionChoices({QStringLiteral("*.odt"), QStringLiteral("*.docx"),
                         QStringLiteral("*.docm"), QStringLiteral("*.epub")});

    const QStringList toolNote = systemtexts::fileListToolNote(services_.osFamily);
    auto* label4 = label(toolNote.at(0), names::toolNoteFirst, this);
    auto* label5 = label(toolNote.at(1), names::toolNoteSecond, this);
    auto* label6 = label(toolNote.at(2), names::toolNoteThird, this);
    // Where nothing needs confirming, the third line says nothing.
    label6->setHidden(label6->text().isEmpty());
    listPicture_ = new QLabel(this);
    widgets::named(listPicture_, names::listPicture);
    listPicture_->setPixmap(QPixmap(QStringLiteral(":/trovex/liste.xpm")));
    listPicture_->setToolTip(QStringLiteral("Die vorhandene Dateiliste wird verwendet."));
    listPicture_->hide();

    odtCheckBox_ = new QCheckBox(
        QStringLiteral("Odt-Dokumentenlisten erstellen (Ansi, Utf8 und Unicode-Listen) "), this);
    widgets::named(odtCheckBox_, names::odtCheckBox);
    odtCheckBox_->setChecked(true);
    odtCheckBox_->hide();

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    widgets::named(ok, names::okButton);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    widgets::named(cancel, names::cancelButton);

    auto* fields = new QGridLayout;
    fields->addWidget(label1, 0, 0);
    fields->addWidget(nameField_, 0, 1, 1, 3);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(folderField_, 1, 1, 1, 2);
    fields->addWidget(folderButton, 1, 3);
    fields->addWidget(label3, 2, 0);
    fields->addWidget(patternField_, 2, 1);
    fields->addWidget(clearPatterns, 2, 2);
    fields->addWidget(choosePattern, 2, 3);
    fields->addWidget(patternChoice_, 3, 1);
    fields->setColumnStretch(1, 1);

    auto* notes = new QVBoxLayout;
    notes->addWidget(listPicture_, 0, Qt::AlignHCenter);
    notes->addWidget(label4);
    notes->addWidget(label5);
    notes->addWidget(label6);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(12);
    layout->addLayout(notes);
    layout->addWidget(odtCheckBox_);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(640, 300);
    hintLabels_ = {label1, label2, label3, label4, label5, label6};

    connect(nameField_, &QLineEdit::textChanged, this, [this] { onNameChanged(); });
    connect(folderField_, &QLineEdit::textChanged, this, [this] { onFolderChanged(); });
    connect(folderButton, &QToolButton::clicked, this, [this] { onChooseFolderClicked(); });
    connect(clearPatterns, &QPushButton::clicked, this, [this] { onClearPatternsClicked(); });
    connect(choosePattern, &QToolButton::clicked, this, [this] { onShowPatternChoiceClicked(); });
    connect(patternChoice_, &QComboBox::activated, this,
            [this](int index) { onPatternChosen(index); });
    connect(ok, &QPushButton::clicked, this, [this] { onOkClicked(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void NewDatabaseDialog::setExtensionChoices(const QStringList& patterns) {
    QStringList sorted = patterns;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    patternChoice_->clear();
    patternChoice_->addItems(sorted);
}

QStringList NewDatabaseDialog::extensionChoices() const {
    QStringList items;
    for (int i = 0; i < patternChoice_->count(); ++i)
        items.append(patternChoice_->itemText(i));
    return items;
}

void NewDatabaseDialog::clearForRun() {
    nameField_->clear();
    folderField_->clear();
    listPicture_->hide();
}

void NewDatabaseDialog::prefillForUpdate(const QString& name, const QString& folder,
                                         const QString& patterns) {
    nameField_->setText(name);
    folderField_->setText(folder);
    patternField_->setText(patterns);
}

QString NewDatabaseDialog::databaseName() const {
    return nameField_->text();
}

QString NewDatabaseDialog::folder() const {
    return folderField_->text();
}

QString NewDatabaseDialog::patterns() const {
    return patternField_->text();
}

void NewDatabaseDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    nameField_->setFocus();
}

void NewDatabaseDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (nameField_->hasSelectedText())
        nameField_->deselect();
}

bool NewDatabaseDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == folderField_ && !openingBrowser_) {
        const bool mousePress = event->type() == QEvent::MouseButtonPress;
        if (mousePress || event->type() == QEvent::KeyPress) {
            if (mousePress) {
                const auto button = static_cast<QMouseEvent*>(event)->button();
                if (button != Qt::LeftButton && button != Qt::RightButton)
                    return QDialog::eventFilter(watched, event);
            } else if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab ||
                       static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backtab) {
                // Moving on with the keyboard still leaves the field.
                return QDialog::eventFilter(watched, event);
            }
            onChooseFolderClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NewDatabaseDialog::onNameChanged() {
    const QString text = nameField_->text();
    const QString message = indexing::nameChangeMessage(text);
    if (!message.isEmpty())
        services_.prompts.plain(message);
    const QString cleaned = indexing::cleanDatabaseName(text);
    if (cleaned != text)
        nameField_->setText(cleaned);
}

void NewDatabaseDialog::onFolderChanged() {
    const QString path = folderField_->text();
    if (path.isEmpty())
        return;
    const QChar drive = path.at(0);
    if (services_.volumes.canBeIndexed(drive))
        return;
    services_.prompts.information(systemtexts::unindexableDriveMessage(
        services_.osFamily, drive, services_.drives.driveDirectory(drive)));
    folderField_->clear();
}

void NewDatabaseDialog::onChooseFolderClicked() {
    openingBrowser_ = true;
    const auto chosen =
        services_.folders.chooseFolder(this, QStringLiteral("Ordner zum Scannen wählen"));
    openingBrowser_ = false;
    if (!chosen)
        return;
    // The program's data holds Windows-form paths; a folder outside every
    // mapped drive cannot be indexed.
    const auto path = services_.drives.toWindows(*chosen);
    if (!path) {
        services_.prompts.information(QStringLiteral("Der Ordner \"") + *chosen +
                                      QStringLiteral("\" liegt auf keinem Laufwerk, das Trovex "
                                                     "kennt. Trovex kann ihn nicht indizieren."));
        return;
    }
    folderField_->setText(*path);
    if (folderField_->text().isEmpty())
        return; // refused by the volume check, which has said why

    const std::optional<QString> driveCHint = systemtexts::driveCHint(services_.osFamily);
    if (driveCHint && path->toUpper().contains(QStringLiteral("C:\\")) && !administrator_ &&
        !cDriveHintShown_) {
        services_.prompts.information(*driveCHint);
        cDriveHintShown_ = true;
    }
    useTool_ = true;
    listPicture_->hide();

    const QChar drive = path->at(0);
    if (const auto list = database::findDriveFileList(services_.programDirectory, drive)) {
        listDateText_ = driveListDateText(*list);
        askListQuestion(drive, 2000);
    }
}

void NewDatabaseDialog::onClearPatternsClicked() {
    patternField_->clear();
}

void NewDatabaseDialog::onShowPatternChoiceClicked() {
    patternChoice_->showPopup();
}

void NewDatabaseDialog::onPatternChosen(int index) {
    if (index < 0 || index >= patternChoice_->count())
        return;
    const QString chosen = patternChoice_->itemText(index);
    QString patterns = patternField_->text();
    // A pattern the field holds already is not taken twice; an update shows
    // the stored patterns in upper case, so the letter case does not count.
    const QStringList held = patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (held.contains(chosen, Qt::CaseInsensitive))
        return;
    if (!patterns.isEmpty())
        patterns += QLatin1Char(' ');
    patternField_->setText(patterns + chosen);
}

QString NewDatabaseDialog::driveListDateText(const QString& listFile) {
    const QFileInfo info(listFile);
    if (!info.exists())
        return listDateText_; // the previous date stays
    return listDateText(info.lastModified(), QLocale());
}

void NewDatabaseDialog::askListQuestion(QChar driveLetter, int pauseAfterNo) {
    if (!questionWindow_)
        return;
    questionWindow_->setText(listQuestionText(driveLetter, listDateText_));
    const int answer = services_.runModal(*questionWindow_);
    services_.pause(1000);
    if (answer == QDialog::Accepted)
        return; // "Ja": the list is built again
    listPicture_->show();
    useTool_ = false;
    services_.pause(pauseAfterNo);
}

void NewDatabaseDialog::onOkClicked() {
    const indexing::DialogInputs inputs{nameField_->text(), folderField_->text(),
                                        patternField_->text(), updateMode_};
    const QList<indexing::Refusal> refusals = indexing::confirmationRefusals(
        inputs,
        [this](const QString& folder) {
            return indexing::folderExistsThroughDriveMap(services_.drives, folder);
        },
        catalogueNames_);
    for (const indexing::Refusal& refusal : refusals)
        services_.prompts.information(refusal.message);
    const int result = refusals.isEmpty() ? QDialog::Accepted : QDialog::Rejected;
    if (indexing::hasRefusal(refusals, indexing::RefusalKind::NameTaken)) {
        done(result);
        return;
    }
    // An update does not choose the folder again, so the list question comes
    // now; not when the run is refused anyway.
    if (updateMode_ && result == QDialog::Accepted) {
        useTool_ = true;
        listPicture_->hide();
        const QChar drive = inputs.folder.at(0);
        const auto ownList = database::findDriveFileList(services_.programDirectory, drive);
        const auto controlList =
            controlDirectory_.isEmpty()
                ? std::nullopt
                : database::findDriveFileList(platform::withTrailingSeparator(controlDirectory_),
                                              drive);
        if (ownList || controlList) {
            if (ownList && !controlDirectoryFlag_)
                listDateText_ = driveListDateText(*ownList);
            else if (controlList && controlDirectoryFlag_)
                listDateText_ = driveListDateText(*controlList);
            askListQuestion(drive, 1000);
        }
    }
    selectedDatabaseName_ = inputs.name;
    done(result);
}

void NewDatabaseDialog::applyColours(const widgets::WindowColours& colours) {
    applyBackgroundColour(colours.background);
    applyHintTextColour(colours.hintText);
}

void NewDatabaseDialog::applyBackgroundColour(const QColor& colour) {
    widgets::setBackgroundColour(this, colour);
    applyHintTextColour(hintText_);
}

void NewDatabaseDialog::applyHintTextColour(const QColor& colour) {
    hintText_ = colour;
    for (QLabel* hint : hintLabels_)
        widgets::setTextColour(hint, colour);
    widgets::setTextColour(odtCheckBox_, colour);
}

} // namespace app
