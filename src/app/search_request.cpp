#include "search_request.h"

#include "search_window.h"

#include "database/database_name.h"
#include "database/search_history.h"
#include "database/storage_hint.h"
#include "platform/settings_values.h"
#include "search/search_handoff.h"
#include "search/search_term_entry.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

LocalSearchRequest::LocalSearchRequest(AppServices& services, SearchWindowHost& host,
                                       SearchWindow& window)
    : services_(services)
    , host_(host)
    , window_(window) {}

void LocalSearchRequest::run() {
    if (viewerFileClosedByRun_)
        resetViewerAfterRun();

    host_.showStatus(QString());
    host_.showProgressLine(QString());
    QDir::setCurrent(services_.programDirectory);
    host_.setSearchUnderWay(true);

    const int selectedIndex = selectCatalogueEntry();
    if (selectedIndex < 0) {
        services_.prompts.information(
            host_.catalogueEntries().isEmpty()
                ? QStringLiteral("Es existiert noch keine Datenbank! ")
                : QStringLiteral("Markieren Sie eine Datenbank und betätigen Sie dann nochmal "
                                 "den Suchen Schalter!"));
        host_.setSearchUnderWay(false);
        return;
    }

    if (const QString refused = database::databaseNameMessage(currentDatabaseName_);
        !refused.isEmpty()) {
        services_.prompts.warning(refused);
        host_.setSearchUnderWay(false);
        return;
    }

    prepareSearchWindow(selectedIndex);
    if (services_.runModal(window_) != QDialog::Accepted)
        return;

    if (searchentry::trimmedSearchText(window_.searchText()).isEmpty()) {
        services_.prompts.information(QStringLiteral("Sie haben keinen Suchtext eingegeben!"));
        host_.stopPatienceMarks();
        host_.showStatus(QString());
        host_.setSearchUnderWay(false);
        return;
    }

    host_.startPatienceMarks();
    host_.showStatus(QStringLiteral("Suche läuft."));
    fileSearchText();
    host_.showFinishedStatus(QStringLiteral("Fertig mit der Suche."));
    host_.stopPatienceMarks();
    window_.searchSession().missingDocumentMessageShown = false;
}

// The last selected entry of the catalogue; -1 when none is selected.
int LocalSearchRequest::selectCatalogueEntry() {
    const QStringList entries = host_.catalogueEntries();
    int selectedIndex = -1;
    for (int row : host_.selectedCatalogueRows()) {
        if (row < 0 || row >= entries.size())
            continue;
        currentDatabaseName_ = entries.at(row);
        selectedIndex = row;
    }
    return selectedIndex;
}

void LocalSearchRequest::prepareSearchWindow(int selectedIndex) {
    if (handOffFileInForce()) {
        window_.setSearchText(window_.takenOverSearchText());
        window_.showDatabaseCaption(QStringLiteral("DB: ") + quoted(currentDatabaseName_));
        search::deleteHandOffFile(controlDirectory());
    } else {
        window_.setSearchText(QString());
    }

    // The find text belongs to the database it was typed for.
    if (selectedIndex != host_.rememberedSelection()) {
        window_.clearFindText();
        host_.rememberSelection(selectedIndex);
    }

    if (window_.documentLoaded())
        window_.showDatabaseCaption((window_.sortedListShown()
                                         ? QStringLiteral("Sortierte Dokumentenliste von DB: ")
                                         : QStringLiteral("DB: ")) +
                                    quoted(currentDatabaseName_));

    window_.hideHistory();
    window_.setDatabaseName(currentDatabaseName_);
}

// The search text goes to the front of the database's history, which is
// saved unless the search found nothing.
void LocalSearchRequest::fileSearchText() {
    const QStringList updated =
        database::updateSearchHistory(window_.history(), window_.searchText());
    window_.setHistory(updated);
    if (!database::shouldSaveSearchHistory(updated, !window_.lastSearchOutcome().noHits))
        return;
    QString error;
    if (!database::saveSearchHistory(updated, services_.programDirectory, currentDatabaseName_,
                                     &error))
        services_.prompts.warning(database::withStorageHint(
            QStringLiteral("Die Liste der Suchbegriffe konnte nicht gespeichert werden.\r\n") +
                error,
            services_.programDirectory));
}

void LocalSearchRequest::resetViewerAfterRun() {
    window_.resetViewer();
    window_.setSortedListButtonEnabled(false);
    window_.clearDatabaseLabels();
    viewerFileClosedByRun_ = false;
}

QString LocalSearchRequest::controlDirectory() const {
    return services_.settings.read(platform::settings::kTrovexControl);
}

// The control directory counts only when it is part of the program
// directory's own path: the sibling edition shares the installation.
bool LocalSearchRequest::handOffFileInForce() const {
    const QString control = controlDirectory();
    if (control.isEmpty() || !services_.programDirectory.contains(control, Qt::CaseInsensitive))
        return false;
    return QFileInfo::exists(search::handOffFilePath(control));
}

} // namespace app
