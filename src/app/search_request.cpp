#include "search_request.h"

#include "search_form.h"

#include "database/search_history.h"
#include "platform/settings_values.h"
#include "search/search_handoff.h"
#include "search/search_term_entry.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

template <typename T> T* control(QWidget* window, const char* name) {
    return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
}

} // namespace

LocalSearchRequest::Host LocalSearchRequest::Host::fromMainWindow(
    QWidget* mainWindow, const QString& programDirectory, platform::SettingsStore* settings,
    platform::Prompts* prompts, platform::ShellLauncher* launcher,
    const platform::DriveMap* driveMap, TSuchForm* searchForm) {
    Host host;
    host.window.programDirectory = programDirectory;
    host.window.settings = settings;
    host.window.prompts = prompts;
    host.window.launcher = launcher;
    host.window.driveMap = driveMap;
    host.searchForm = searchForm;
    // Looked up at each call, so the controls may be made after this.
    host.catalogueEntries = [mainWindow] {
        QStringList entries;
        if (auto* list = control<QListWidget>(mainWindow, "ListBox1"))
            for (int i = 0; i < list->count(); ++i)
                entries.append(list->item(i)->text());
        return entries;
    };
    host.selectedRows = [mainWindow] {
        QList<int> rows;
        if (auto* list = control<QListWidget>(mainWindow, "ListBox1"))
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->isSelected())
                    rows.append(i);
        return rows;
    };
    host.window.setMainStatus = [mainWindow](const QString& text) {
        if (auto* label = control<QLabel>(mainWindow, "Label1"))
            label->setText(text);
    };
    host.setLabel2 = [mainWindow](const QString& text) {
        if (auto* label = control<QLabel>(mainWindow, "Label2"))
            label->setText(text);
    };
    host.window.startPatience = [mainWindow] {
        if (auto* timer = control<QTimer>(mainWindow, "GedultTimer"))
            timer->start();
    };
    host.window.stopPatience = [mainWindow] {
        if (auto* timer = control<QTimer>(mainWindow, "GedultTimer"))
            timer->stop();
        if (auto* label = control<QLabel>(mainWindow, "GeduldLabel"))
            label->clear();
    };
    host.window.raiseMainWindow = [mainWindow] {
        if (!mainWindow)
            return;
        mainWindow->raise();
        mainWindow->activateWindow();
    };
    return host;
}

LocalSearchRequest::LocalSearchRequest(Host host)
    : host_(std::move(host)) {
    if (!host_.searchForm)
        return;
    host_.searchForm->setEnvironment(host_.window);
    host_.searchForm->setSearchUnderWayClearer([this] { setSearchUnderWay(false); });
}

void LocalSearchRequest::SuchenBtnClick() {
    TSuchForm& form = *host_.searchForm;
    auto* searchBar = form.findChild<QLineEdit*>(QStringLiteral("TntEdit2"));
    auto* findBar = form.findChild<QLineEdit*>(QStringLiteral("TntEdit1"));
    auto* label8 = form.findChild<QLabel*>(QStringLiteral("Label8"));
    auto* history = form.findChild<QListWidget*>(QStringLiteral("TntListBox2"));
    const auto setLabel1 = [this](const QString& text) {
        if (host_.window.setMainStatus)
            host_.window.setMainStatus(text);
    };
    const auto stopPatience = [this] {
        if (host_.window.stopPatience)
            host_.window.stopPatience();
    };

    if (viewerFileClosedByRun_)
        resetViewerAfterRun();

    setLabel1(QString());
    if (host_.setLabel2)
        host_.setLabel2(QString());
    if (host_.enterProgramDirectory)
        host_.enterProgramDirectory();
    else
        QDir::setCurrent(host_.window.programDirectory);
    setSearchUnderWay(true);

    const QStringList entries = host_.catalogueEntries ? host_.catalogueEntries() : QStringList();
    const QList<int> selected = host_.selectedRows ? host_.selectedRows() : QList<int>();
    int selectedIndex = -1;
    for (int row : selected) {
        if (row < 0 || row >= entries.size())
            continue;
        currentDatabaseName_ = entries.at(row);
        selectedIndex = row;
    }
    if (selectedIndex < 0) {
        if (host_.window.prompts)
            host_.window.prompts->information(
                entries.isEmpty()
                    ? QStringLiteral("Es existiert noch keine Datenbank! ")
                    : QStringLiteral("Markieren Sie eine Datenbank und betätigen Sie dann nochmal "
                                     "den Suchen Schalter!"));
        setSearchUnderWay(false);
        return;
    }

    if (handOffFileInForce()) {
        searchBar->setText(form.takenOverSearchText());
        label8->setText(QStringLiteral("DB: ") + quoted(currentDatabaseName_));
        search::deleteHandOffFile(controlDirectory());
    } else {
        searchBar->clear();
    }

    if (selectedIndex != previousSearchIndex_) {
        findBar->clear();
        previousSearchIndex_ = selectedIndex;
    }

    if (form.documentLoaded())
        label8->setText((form.sortedListShown()
                             ? QStringLiteral("Sortierte Dokumentenliste von DB: ")
                             : QStringLiteral("DB: ")) +
                        quoted(currentDatabaseName_));

    history->hide();
    form.setDatabaseName(currentDatabaseName_);
    const int result =
        host_.showSearchWindowModally ? host_.showSearchWindowModally() : form.exec();
    if (result != QDialog::Accepted)
        return;

    if (searchentry::trimmedSearchText(form.searchText()).isEmpty()) {
        if (host_.window.prompts)
            host_.window.prompts->information(
                QStringLiteral("Sie haben keinen Suchtext eingegeben!"));
        stopPatience();
        setLabel1(QString());
        setSearchUnderWay(false);
        return;
    }

    if (host_.window.startPatience)
        host_.window.startPatience();
    setLabel1(QStringLiteral("Suche läuft."));
    const QStringList updated = database::updateSearchHistory(form.history(), form.searchText());
    form.setHistory(updated);

    if (database::shouldSaveSearchHistory(updated, !form.lastSearchOutcome().noHits)) {
        QString error;
        if (!database::saveSearchHistory(updated, host_.window.programDirectory,
                                         currentDatabaseName_, &error) &&
            host_.window.prompts)
            host_.window.prompts->warning(QStringLiteral("Die Liste der Suchbegriffe konnte nicht "
                                                         "gespeichert werden.\r\n") +
                                          error);
    }

    setLabel1(QStringLiteral("Fertig mit der Suche."));
    stopPatience();
    form.searchSession().missingDocumentMessageShown = false;
}

void LocalSearchRequest::setSearchUnderWay(bool underWay) {
    searchUnderWay_ = underWay;
    if (host_.setSearchUnderWay)
        host_.setSearchUnderWay(underWay);
}

void LocalSearchRequest::resetViewerAfterRun() {
    TSuchForm& form = *host_.searchForm;
    form.resetViewer();
    if (auto* sorted = form.findChild<QPushButton*>(QStringLiteral("ZeilenAlsListeSortieren")))
        sorted->setEnabled(false);
    for (const char* name : {"Label2", "Label8"})
        if (auto* label = form.findChild<QLabel*>(QLatin1String(name)))
            label->clear();
    viewerFileClosedByRun_ = false;
}

QString LocalSearchRequest::controlDirectory() const {
    return host_.window.settings ? host_.window.settings->read(platform::settings::kTrovexControl)
                                 : QString();
}

// The control directory counts only when it is part of the program
// directory's own path: the sibling edition shares the installation.
bool LocalSearchRequest::handOffFileInForce() const {
    const QString control = controlDirectory();
    if (control.isEmpty() || !host_.window.programDirectory.contains(control, Qt::CaseInsensitive))
        return false;
    return QFileInfo::exists(search::handOffFilePath(control));
}
