#pragma once

#include "app_services.h"
#include "search_window_host.h"

#include <QString>

namespace app {

class SearchWindow;

// The main window's side of a local search: the button "&Suchen" checks the
// catalogue, prepares the search window, runs it modally and files the
// search text in the database's history afterwards. The main window owns one
// of these for the whole run and calls run from its button.
class LocalSearchRequest {
public:
    LocalSearchRequest(AppServices& services, SearchWindowHost& host, SearchWindow& window);
    LocalSearchRequest(const LocalSearchRequest&) = delete;
    LocalSearchRequest& operator=(const LocalSearchRequest&) = delete;

    void run();

    // An index run closed the file the search window's viewer held open.
    void setViewerFileClosedByRun() { viewerFileClosedByRun_ = true; }

    // The database of the last search (the last selected catalogue entry).
    QString currentDatabaseName() const { return currentDatabaseName_; }

private:
    int selectCatalogueEntry();
    void prepareSearchWindow(int selectedIndex);
    void fileSearchText();
    void resetViewerAfterRun();
    bool handOffFileInForce() const;
    QString controlDirectory() const;

    AppServices& services_;
    SearchWindowHost& host_;
    SearchWindow& window_;
    bool viewerFileClosedByRun_ = false;
    QString currentDatabaseName_;
};

} // namespace app
