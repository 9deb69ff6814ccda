#include "ok_bottom_dlg.h"

#include "hinweis_form.h"

#include "database/drive_file_list.h"
#include "indexing/new_database_checks.h"
#include "platform/program_directory.h"

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

namespace {

const QString kCDriveHint =
    QStringLiteral("Wenn Sie auf Laufwerk \"C:\\\" oder speziell in den Ordner \"C:\\Windows\", "
                   "\"C:\\Program Files\" etc. \r\n"
                   "Dateien indizieren möchten, ist es besser wenn Sie Trovex mit "
                   "Administratorberechtigung starten.\r\n"
                   "(Rechte Maustaste auf \"Trovex-odt.exe\" und im Kontextmenü auf \"Als "
                   "Administrator ausführen\" klicken.\r\n"
                   "\r\n") +
    QString(39, QLatin1Char(' ')) + QStringLiteral("Sonst werden die Dateien nicht indiziert.");

QLabel* label(const QString& text, const char* name, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

} // namespace

TOKBottomDlg::TOKBottomDlg(AppServices& services, QWidget* parent)
    : QDialog(parent)
    , services_(services) {
    setObjectName(QStringLiteral("TOKBottomDlg"));
    setWindowTitle(QStringLiteral("Neue Datenbank"));

    auto* label1 = label(QStringLiteral("Name der Datenbank: "), "Label1", this);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));

    auto* label2 = label(QStringLiteral("Ausgewähltes Laufwerk oder Ordner:"), "Label2", this);
    edit2_ = new QLineEdit(this);
    edit2_->setObjectName(QStringLiteral("Edit2"));
    // Typed paths are not taken: every click or key opens the folder browser.
    edit2_->setReadOnly(true);
    edit2_->installEventFilter(this);
    auto* folderButton = new QToolButton(this);
    folderButton->setObjectName(QStringLiteral("OrdnerwaehlenButton"));
    folderButton->setIcon(QIcon(QStringLiteral(":/trovex/ordner.xpm")));
    folderButton->setToolTip(QStringLiteral("Ordner zum Scannen wählen"));

    auto* label3 = label(QStringLiteral("Endung Html-Dateien:"), "Label3", this);
    edit3_ = new QLineEdit(QStringLiteral("*.odt"), this);
    edit3_->setObjectName(QStringLiteral("Edit3"));
    edit3_->setReadOnly(true);
    auto* clearPatterns = new QPushButton(QStringLiteral("X"), this);
    clearPatterns->setObjectName(QStringLiteral("Button1"));
    clearPatterns->setFixedWidth(28);
    auto* choosePattern = new QToolButton(this);
    choosePattern->setObjectName(QStringLiteral("BitBtn2"));
    choosePattern->setArrowType(Qt::DownArrow);
    comboBox1_ = new QComboBox(this);
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    comboBox1_->setMaxVisibleItems(20);
    comboBox1_->setFixedSize(1, 1); // hidden in the layout; only its list pops up
    setExtensionChoices({QStringLiteral("*.csv"), QStringLiteral("*.txt")});

    auto* label4 = label(
        QStringLiteral("Nach dem Sie OK betätigt haben, wird eine Hauptdateienliste erstellt.  "
                       "Dafür wird das "),
        "Label4", this);
    auto* label5 = label(QStringLiteral("Programm \"ErstelleDateienliste.exe\" gestartet. Dieses "
                                        "braucht Administratorrechte."),
                         "Label5", this);
    auto* label6 = label(QStringLiteral("Deshalb müssen Sie die Frage der "
                                        "Benutzerkontensteuerung mit \"Ja\" bestätigen."),
                         "Label6", this);
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(QPixmap(QStringLiteral(":/trovex/liste.xpm")));
    image1_->setToolTip(QStringLiteral("Die vorhandene Dateiliste wird verwendet."));
    image1_->hide();

    odtCheckBox_ = new QCheckBox(
        QStringLiteral("Odt-Dokumentenlisten erstellen (Ansi, Utf8 und Unicode-Listen) "), this);
    odtCheckBox_->setObjectName(QStringLiteral("ODTDokumenteErstellenCheckBox"));
    odtCheckBox_->setChecked(true);
    odtCheckBox_->hide();

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));

    auto* fields = new QGridLayout;
    fields->addWidget(label1, 0, 0);
    fields->addWidget(edit1_, 0, 1, 1, 3);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(edit2_, 1, 1, 1, 2);
    fields->addWidget(folderButton, 1, 3);
    fields->addWidget(label3, 2, 0);
    fields->addWidget(edit3_, 2, 1);
    fields->addWidget(clearPatterns, 2, 2);
    fields->addWidget(choosePattern, 2, 3);
    fields->addWidget(comboBox1_, 3, 1);
    fields->setColumnStretch(1, 1);

    auto* notes = new QVBoxLayout;
    notes->addWidget(image1_, 0, Qt::AlignHCenter);
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

    connect(edit1_, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(edit2_, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
    connect(folderButton, &QToolButton::clicked, this, [this] { OrdnerwaehlenButtonClick(); });
    connect(clearPatterns, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(choosePattern, &QToolButton::clicked, this, [this] { BitBtn1Click(); });
    connect(comboBox1_, &QComboBox::activated, this, [this](int index) { ComboBox1Click(index); });
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TOKBottomDlg::setExtensionChoices(const QStringList& patterns) {
    QStringList sorted = patterns;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    comboBox1_->clear();
    comboBox1_->addItems(sorted);
}

QStringList TOKBottomDlg::extensionChoices() const {
    QStringList items;
    for (int i = 0; i < comboBox1_->count(); ++i)
        items.append(comboBox1_->itemText(i));
    return items;
}

void TOKBottomDlg::clearForRun() {
    edit1_->clear();
    edit2_->clear();
    image1_->hide();
}

void TOKBottomDlg::prefillForUpdate(const QString& name, const QString& folder,
                                    const QString& patterns) {
    edit1_->setText(name);
    edit2_->setText(folder);
    edit3_->setText(patterns);
}

QString TOKBottomDlg::databaseName() const {
    return edit1_->text();
}

QString TOKBottomDlg::folder() const {
    return edit2_->text();
}

QString TOKBottomDlg::patterns() const {
    return edit3_->text();
}

void TOKBottomDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit1_->setFocus();
}

void TOKBottomDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (edit1_->hasSelectedText())
        edit1_->deselect();
}

bool TOKBottomDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit2_ && !openingBrowser_) {
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
            OrdnerwaehlenButtonClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOKBottomDlg::Edit1Change() {
    const QString text = edit1_->text();
    const QString message = indexing::nameChangeMessage(text);
    if (!message.isEmpty())
        services_.prompts.plain(message);
    const QString cleaned = indexing::cleanDatabaseName(text);
    if (cleaned != text)
        edit1_->setText(cleaned);
}

void TOKBottomDlg::Edit2Change() {
    const QString path = edit2_->text();
    if (path.isEmpty())
        return;
    const QChar drive = path.at(0);
    if (services_.volumes.canBeIndexed(drive))
        return;
    services_.prompts.information(QStringLiteral("Das Laufwerk: \"") + drive +
                                  QStringLiteral("\" hat kein NTFS-Dateisystem! Trovex kann es "
                                                 "deshalb nicht indizieren."));
    edit2_->clear();
}

void TOKBottomDlg::OrdnerwaehlenButtonClick() {
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
    edit2_->setText(*path);
    if (edit2_->text().isEmpty())
        return; // refused by the volume check, which has said why

    if (path->toUpper().contains(QStringLiteral("C:\\")) && !administrator_ && !cDriveHintShown_) {
        services_.prompts.information(kCDriveHint);
        cDriveHintShown_ = true;
    }
    useTool_ = true;
    image1_->hide();

    const QChar drive = path->at(0);
    if (const auto list = database::findDriveFileList(services_.programDirectory, drive)) {
        listDateText_ = driveListDateText(*list);
        askListQuestion(drive, 2000);
    }
}

void TOKBottomDlg::Button1Click() {
    edit3_->clear();
}

void TOKBottomDlg::BitBtn1Click() {
    comboBox1_->showPopup();
}

void TOKBottomDlg::ComboBox1Click(int index) {
    if (index < 0 || index >= comboBox1_->count())
        return;
    QString patterns = edit3_->text();
    if (!patterns.isEmpty())
        patterns += QLatin1Char(' ');
    edit3_->setText(patterns + comboBox1_->itemText(index));
}

QString TOKBottomDlg::driveListDateText(const QString& listFile) {
    const QFileInfo info(listFile);
    if (!info.exists())
        return listDateText_; // the previous date stays
    return QLocale().toString(info.lastModified().toLocalTime(), QLocale::ShortFormat);
}

void TOKBottomDlg::askListQuestion(QChar driveLetter, int pauseAfterNo) {
    if (!questionWindow_)
        return;
    questionWindow_->setText(listQuestionText(driveLetter, listDateText_));
    const int answer = services_.runModal(*questionWindow_);
    services_.pause(1000);
    if (answer == QDialog::Accepted)
        return; // "Ja": the list is built again
    image1_->show();
    useTool_ = false;
    services_.pause(pauseAfterNo);
}

void TOKBottomDlg::OKBtnClick() {
    const indexing::DialogInputs inputs{edit1_->text(), edit2_->text(), edit3_->text(),
                                        updateMode_};
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
        image1_->hide();
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
