#include "main_window_fixture.h"

#include "app/app_resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

MainWindowFixture::MainWindowFixture() {
    app::initAppResources();
    programDirectory = root.path() + QStringLiteral("/Programm/");
    documents = root.path() + QStringLiteral("/Dokumente");
    QDir().mkpath(programDirectory);
    QDir().mkpath(documents);
    drives.setDrive(QLatin1Char('T'), documents);
    volumes.indexable.insert(QLatin1Char('T'));
    onPause = [] { QTest::qWait(0); };
    runModal = [this](QDialog& window) -> int {
        if (auto* newDatabase = qobject_cast<app::NewDatabaseDialog*>(&window))
            return answerDialog ? answerDialog(*newDatabase) : int(QDialog::Rejected);
        if (qobject_cast<app::QuestionWindow*>(&window)) {
            ++questionsAsked;
            return answerQuestion;
        }
        if (auto* search = qobject_cast<app::SearchWindow*>(&window))
            return answerSearch ? answerSearch(*search) : int(QDialog::Rejected);
        return int(QDialog::Rejected);
    };
}

// A run a failed test left behind ends before the windows go.
MainWindowFixture::~MainWindowFixture() {
    waitForIndexRun();
}

void MainWindowFixture::start(bool show) {
    app::AppServices& appServices = services();
    mainWindow = std::make_unique<app::MainWindow>(appServices);
    dialog = std::make_unique<app::NewDatabaseDialog>(appServices, mainWindow.get());
    settingsDialog = std::make_unique<app::SettingsDialog>(appServices, mainWindow.get());
    question = std::make_unique<app::QuestionWindow>(mainWindow.get());
    searchWindow = std::make_unique<app::SearchWindow>(appServices, *mainWindow, mainWindow.get());
    searchingNotice = std::make_unique<app::SearchingNotice>(mainWindow.get());
    searchWindow->setSearchingNoticeWindow(searchingNotice.get());
    mainWindow->setWindows(
        {dialog.get(), settingsDialog.get(), question.get(), searchWindow.get()});
    if (show)
        mainWindow->show(); // the first paint comes with the first show
    else
        mainWindow->applyStoredSettings();
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

int MainWindowFixture::fillAndConfirm(app::NewDatabaseDialog& window, const QString& name) {
    window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(name);
    folders.answers.append(documents);
    window.onChooseFolderClicked();
    window.onOkClicked();
    return window.result();
}

QTimer* MainWindowFixture::timer(const char* name) const {
    return mainWindow->findChild<QTimer*>(QLatin1String(name));
}

bool MainWindowFixture::waitForIndexRun() const {
    if (!mainWindow || !mainWindow->indexRunUnderWay())
        return true;
    QSignalSpy ended(mainWindow.get(), &app::MainWindow::indexRunEnded);
    return ended.wait(60000);
}
