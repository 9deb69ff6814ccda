#pragma once

#include "search_form.h"

#include "platform/drive_map.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
// The main window's side of a local search: the button "&Suchen" checks the
// catalogue, prepares the search window, runs it modally and files the
// search text in the database's history afterwards. The main window owns one
// of these for the whole run and calls SuchenBtnClick from its button.
class LocalSearchRequest {
public:
    // What the flow touches of the main window.
    struct Host {
        // What the search window gets too: the seams, the patience timer,
        // the status label Label1 (setMainStatus) and the rest.
        SearchWindowEnvironment window;
        TSuchForm* searchForm = nullptr;
        // The catalogue list: its entries and the selected rows, in order.
        std::function<QStringList()> catalogueEntries;
        std::function<QList<int>()> selectedRows;
        std::function<void(const QString&)> setLabel2;
        // Makes the program directory the current directory.
        std::function<void()> enterProgramDirectory;
        // Shows the search window modally; returns its result. Empty: exec().
        std::function<int()> showSearchWindowModally;
        // Mirrors the search-under-way flag into the main window.
        std::function<void(bool)> setSearchUnderWay;

        // Binds the main window's controls by their names: ListBox1, Label1,
        // Label2, GeduldLabel and the timer GedultTimer. A control that does
        // not exist is left alone.
        static Host fromMainWindow(QWidget* mainWindow, const QString& programDirectory,
                                   platform::SettingsStore* settings, platform::Prompts* prompts,
                                   platform::ShellLauncher* launcher,
                                   const platform::DriveMap* driveMap, TSuchForm* searchForm);
    };

    // Hands the search window what it needs and the flag it clears.
    explicit LocalSearchRequest(Host host);
    LocalSearchRequest(const LocalSearchRequest&) = delete;
    LocalSearchRequest& operator=(const LocalSearchRequest&) = delete;

    void SuchenBtnClick();

    // The main window's search-under-way flag: the catalogue refuses a change
    // of selection while it is set.
    bool searchUnderWay() const { return searchUnderWay_; }

    // An index run closed the file the search window's viewer held open.
    void setViewerFileClosedByRun() { viewerFileClosedByRun_ = true; }

    // The database of the last search (the last selected catalogue entry).
    QString currentDatabaseName() const { return currentDatabaseName_; }

private:
    void resetViewerAfterRun();
    void setSearchUnderWay(bool underWay);
    bool handOffFileInForce() const;
    QString controlDirectory() const;

    Host host_;
    bool searchUnderWay_ = false;
    bool viewerFileClosedByRun_ = false;
    int previousSearchIndex_ = -1;
    QString currentDatabaseName_;
};
