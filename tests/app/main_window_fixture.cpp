#include "main_window_fixture.h"

#include "app/app_resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

MainWindowFixture::MainWindowFixture() {
    initAppResources();
    programDirectory = root.path() + QStringLiteral("/Programm/");
    documents = root.path() + QStringLiteral("/Dokumente");
    QDir().mkpath(programDirectory);
    QDir().mkpath(documents);
    drives.setDrive(QLatin1Char('T'), documents);
    volumes.indexable.insert(QLatin1Char('T'));
    onPause = [] { QTest::qWait(0); };
    runModal = [this](QDialog& window) -> int {
        if (auto* newDatabase = qobject_cast<TOKBottomDlg*>(&window))
            return answerDialog ? answerDialog(*newDatabase) : int(QDialog::Rejected);
        if (qobject_cast<THinweisForm*>(&window)) {
            ++questionsAsked;
            return answerQuestion;
        }
        if (auto* search = qobject_cast<TSuchForm*>(&window))
            return answerSearch ? answerSearch(*search) : int(QDialog::Rejected);
        return int(QDialog::Rejected);
    };
}

MainWindowFixture::~MainWindowFixture() = default;

void MainWindowFixture::start(bool show) {
    AppServices& appServices = services();
    mainForm = std::make_unique<TMainForm_TX_ODT>(appServices);
    dialog = std::make_unique<TOKBottomDlg>(appServices, mainForm.get());
    settingsDialog = std::make_unique<TEinstellform>(appServices, mainForm.get());
    question = std::make_unique<THinweisForm>(mainForm.get());
    searchWindow = std::make_unique<TSuchForm>(appServices, *mainForm, mainForm.get());
    searchingNotice = std::make_unique<TBinbeimSuchenForm>(mainForm.get());
    searchWindow->setSearchingNoticeWindow(searchingNotice.get());
    mainForm->setWindows({dialog.get(), settingsDialog.get(), question.get(), searchWindow.get()});
    if (show)
        mainForm->show(); // the first paint comes with the first show
    else
        mainForm->FormPaint();
}

void MainWindowFixture::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

QByteArray MainWindowFixture::readFile(const QString& relative) const {
    QFile in(path(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

bool MainWindowFixture::exists(const QString& relative) const {
    return QFileInfo::exists(path(relative));
}

void MainWindowFixture::addDatabase(const QString& name) const {
    writeFile(QStringLiteral("Datenbank/") + name + QStringLiteral(".dat"),
              "PFAD_UND_ENDUNGEN= T:\\ *.odt    \r\n");
}

void MainWindowFixture::addDocument(const QString& fixture, const QString& name) const {
    const QString source =
        qEnvironmentVariable("TROVEX_FIXTURES") + QStringLiteral("/indexing/") + fixture;
    QVERIFY2(QFile::copy(source, documents + QLatin1Char('/') + name), qPrintable(source));
}

void MainWindowFixture::writeDriveList(const QStringList& fileNames) const {
    QByteArray bytes;
    for (const QString& name : fileNames)
        bytes += "T:\\" + name.toUtf8() + "\r\n";
    writeFile(QStringLiteral("Datenbank/Haupt_Dateinamen_Liste_Laufwerk_T.txt"), bytes);
}

int MainWindowFixture::fillAndConfirm(TOKBottomDlg& window, const QString& name) {
    window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(name);
    folders.answers.append(documents);
    window.OrdnerwaehlenButtonClick();
    window.OKBtnClick();
    return window.result();
}

QTimer* MainWindowFixture::timer(const char* name) const {
    return mainForm->findChild<QTimer*>(QLatin1String(name));
}
